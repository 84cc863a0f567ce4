// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <fstream>
#include <numeric>

#include <malloc.h>

#include "TestMovies.h"
#include "platform/swf/Limits.h"
#include "platform/swf/Mixer.h"

namespace wd::testing {
namespace {

using swfplay::Player;

constexpr std::size_t kFrame = 4410; // output samples per frame at 10 fps

// A movie playing alone through a mixer.
struct Stage {
    explicit Stage(const swf::TagStream& tags, Player::Play play = Player::Play::On) : player(std::make_shared<Player>(play))
    {
        mixer.Attach(player);
        player->Install(player->Expect(), swfplay::Prepare(Movie(tags, 10)));
    }
    std::vector<std::int16_t> Pull(std::size_t frames) { return mixer.Pull(frames); }
    swfplay::Mixer mixer;
    std::shared_ptr<Player> player;
};

std::int16_t At(const std::vector<std::int16_t>& mix, std::size_t frame) { return mix[2 * frame]; }

TEST(Player, SoundsAndStreamsStartAtTheirFramesLoopingWithPlayOnOnceWithPlayOff)
{
    swf::TagStream t; // 0.3 s a round, the sound in its second frame
    DefinePcm(t, 1, Level(1000, 100)).ShowFrame().StartSound(1).ShowFrame().ShowFrame().End();
    const auto mix = Stage(t).Pull(44100);
    EXPECT_EQ((std::vector<int>{At(mix, kFrame - 1), At(mix, kFrame), At(mix, 4 * kFrame - 1), At(mix, 4 * kFrame),
                                At(mix, 7 * kFrame + 99), At(mix, 7 * kFrame + 100)}),
              (std::vector<int>{0, 1000, 0, 1000, 1000, 0}));
    Stage off(t, Player::Play::Off); // stays in the first frame
    const auto still = off.Pull(44100);
    EXPECT_TRUE(std::all_of(still.begin(), still.end(), [](int s) { return s == 0; }));
    EXPECT_EQ(off.player->CurrentFrame(), 0);

    // A stream sound follows the frames and starts again with the loop.
    swf::TagStream st;
    const swf::SoundFormatInfo f{swf::SoundFormat::UncompressedLittleEndian, swf::SoundRate::Hz44100, true, false};
    st.SoundStreamHead(f, f, kFrame);
    for (int k = 0; k < 3; ++k)
        st.SoundStreamBlock(swf::Pcm16Bytes(Level(static_cast<std::int16_t>(1000 * (k + 1)), kFrame))).ShowFrame();
    const auto smix = Stage(st.End()).Pull(4 * kFrame);
    EXPECT_EQ((std::vector<int>{At(smix, 10), At(smix, kFrame + 10), At(smix, 2 * kFrame + 10), At(smix, 3 * kFrame + 10)}),
              (std::vector<int>{1000, 2000, 3000, 1000}));
}

TEST(Player, SoundsMixAtTheirRateLoopingFromTheirInPointWithOneInstanceWhereAsked)
{
    swf::TagStream t;
    swf::SoundInfo part, single; // from sample 100, three times; not while it plays
    part.inPoint = 100, part.loopCount = 3, single.syncNoMultiple = true;
    std::vector<std::int16_t> ramp(1000);
    std::iota(ramp.begin(), ramp.end(), 1);
    DefinePcm(t, 1, ramp).StartSound(1, part).ShowFrame().End();
    const auto mix = Stage(t).Pull(3000);
    EXPECT_EQ((std::vector<int>{At(mix, 0), At(mix, 899), At(mix, 900), At(mix, 2699), At(mix, 2700), mix[1]}),
              (std::vector<int>{101, 1000, 101, 1000, 0, 101})); // three rounds; mono goes to both sides

    swf::TagStream slow; // 11025 Hz plays four output samples per source sample, interpolated
    DefinePcm(slow, 1, std::vector<std::int16_t>{0, 400, 400}, swf::SoundRate::Hz11025).StartSound(1).ShowFrame().End();
    const auto smix = Stage(slow).Pull(16);
    EXPECT_EQ((std::vector<int>{At(smix, 2), At(smix, 4), At(smix, 12)}), (std::vector<int>{200, 400, 0}));

    swf::TagStream twice;
    DefinePcm(twice, 1, Level(1000, 44100)).StartSound(1).ShowFrame().StartSound(1, single).ShowFrame();
    twice.StartSound(1).ShowFrame().End();
    const auto tmix = Stage(twice).Pull(3 * kFrame);
    EXPECT_EQ((std::vector<int>{At(tmix, kFrame + 10), At(tmix, 2 * kFrame + 10)}), (std::vector<int>{1000, 2000}));
}

TEST(Player, AnOvertakenLoadIsDropped)
{
    swf::TagStream t;
    const auto movie = swfplay::Prepare(Movie(DefinePcm(t, 1, Level(1000, 1000)).StartSound(1).ShowFrame().End()));
    Player player(Player::Play::On);
    const auto first = player.Expect(), second = player.Expect();
    EXPECT_FALSE(player.Install(first, movie) || player.HasMovie());
    EXPECT_TRUE(player.Install(second, movie) && player.HasMovie());
}

TEST(Mixer, TheLimiterActsOnlyOnAMixThatWouldPassFullScale)
{
    const auto tone = Sine(441, 44100, 44100, 30000); // 100 samples a period
    swf::TagStream t;
    const auto movie = swfplay::Prepare(Movie(DefinePcm(t, 1, tone).StartSound(1).ShowFrame().End()));
    swfplay::Mixer mixer;
    std::vector<std::shared_ptr<Player>> players;
    const auto add = [&] {
        const auto& p = players.emplace_back(std::make_shared<Player>(Player::Play::On));
        mixer.Attach(p);
        p->Install(p->Expect(), movie);
    };
    // Sample for sample what the movie holds, from `at` on.
    const auto exact = [&](const std::vector<std::int16_t>& mix, std::size_t at) {
        for (std::size_t i = 0; 2 * i < mix.size(); ++i)
            if (mix[2 * i] != tone[at + i] || mix[2 * i + 1] != tone[at + i]) return false;
        return true;
    };
    add();
    EXPECT_TRUE(exact(mixer.Pull(22000), 0));
    add(); // in phase with the first: twice full scale
    const auto both = mixer.Pull(11000);
    // Limited below full scale, not clipped: once settled, the gain hardly
    // moves within a period (a clipper's would swing between 1 and 0.53).
    double low = 1, high = 0;
    for (std::size_t i = 5500; 2 * i < both.size(); ++i)
        if (const double sum = 2.0 * tone[22000 + i]; std::abs(sum) > 2000)
            low = std::min(low, both[2 * i] / sum), high = std::max(high, both[2 * i] / sum);
    const auto [quietest, loudest] = std::minmax_element(both.begin(), both.end());
    EXPECT_TRUE(-*quietest <= 32000 && *loudest <= 32000 && *loudest > 30000) << *quietest << " " << *loudest;
    EXPECT_LT(high - low, 0.03);
    mixer.Detach(players[0].get());
    mixer.Pull(swfplay::kLimiterReleaseFrames); // the gain comes back
    EXPECT_TRUE(exact(mixer.Pull(2000), 33000 + swfplay::kLimiterReleaseFrames));
}

// A field of /proc/self/status, in KiB.
long StatusKib(const std::string& field)
{
    std::ifstream in("/proc/self/status");
    for (std::string line; std::getline(in, line);)
        if (line.rfind(field, 0) == 0) return std::stol(line.substr(field.size()));
    return -1;
}

// Movies the movie maker writes at build time to break the player: each is cut
// where it crosses a bound, by the player's own count and in the memory it takes.
TEST(Budget, EveryHostileShapeLoadsWithinTheBudgetAndKeepsWhatFits)
{
    using namespace swfplay;
    struct Shape { const char* file; unsigned cuts; bool sounds; }; // sounds: something is left to play
    const Shape shapes[] = {{"actions-zws.swf", kCutBody | kCutTimeline, false}, {"actions-cws.swf", kCutBody | kCutTimeline, false},
                            {"sounds-zws.swf", kCutBody, true},   {"bomb-zws.swf", kCutBody | kCutSound, true},
                            {"bomb-cws.swf", kCutBody | kCutSound, true}, {"mp3bomb-cws.swf", kCutBody | kCutSound, true},
                            {"declared.swf", 0, true}, {"longpcm-cws.swf", kCutBody, false}, {"longpcm.swf", kCutFile, false}};
    for (const Shape& s : shapes) {
        SCOPED_TRACE(s.file);
        malloc_trim(0); // what earlier loads freed goes back, so that it cannot hide this one
        std::ofstream("/proc/self/clear_refs") << "5"; // the peak starts again from what is resident
        const long before = StatusKib("VmRSS:");
        const auto movie = PrepareFile(std::filesystem::path(WD_HOSTILE_DIR) / s.file);
        [[maybe_unused]] const long peakKib = StatusKib("VmHWM:") - before;
        ASSERT_TRUE(movie);
        EXPECT_EQ(movie->cuts, s.cuts);
        EXPECT_LE(movie->KeptBytes(), kMovieBudgetBytes);
        EXPECT_EQ(!movie->sounds.empty() || movie->stream, s.sounds);
#if !defined(__SANITIZE_ADDRESS__) // its shadow and quarantine are not the player's
        // Generous: storage that doubles holds both copies for a moment, and
        // the kernel may back memory with huge pages.
        EXPECT_LE(static_cast<std::size_t>(peakKib) * 1024, kLoadPeakBytes + (32u << 20));
#endif
    }
}

} // namespace
} // namespace wd::testing
