#include <gtest/gtest.h>

#include "TestMovies.h"
#include "platform/swf/Mixer.h"

namespace wd::testing {
namespace {

using swfplay::Player;

constexpr std::size_t kFrame = 4410; // output samples per frame at 10 fps

// Plays a movie alone through a mixer and returns `frames` of its stereo mix.
class Stage {
public:
    explicit Stage(const Bytes& file, Player::Play play = Player::Play::On)
        : player_(std::make_shared<Player>(play))
    {
        mixer_.Attach(player_);
        const auto ticket = player_->Expect();
        player_->Install(ticket, swfplay::Prepare(file));
    }
    std::vector<std::int16_t> Pull(std::size_t frames) { return mixer_.Pull(frames); }
    Player& player() { return *player_; }

private:
    swfplay::Mixer mixer_;
    std::shared_ptr<Player> player_;
};

// Frames where the left channel goes from silence to sound.
std::vector<std::size_t> Onsets(const std::vector<std::int16_t>& mix)
{
    std::vector<std::size_t> out;
    for (std::size_t i = 0; 2 * i < mix.size(); ++i)
        if (mix[2 * i] != 0 && (i == 0 || mix[2 * i - 2] == 0)) out.push_back(i);
    return out;
}

std::int16_t At(const std::vector<std::int16_t>& mix, std::size_t frame) { return mix[2 * frame]; }

TEST(Timeline, SoundsStartAtTheirFramesTimeLoopingWithPlayOnOnceWithPlayOff)
{
    swf::TagStream t;
    DefinePcm(t, 1, Level(1000, 100));
    t.ShowFrame().StartSound(1).ShowFrame().ShowFrame().End(); // 0.3 s a round, the sound in its second frame
    const auto on = Onsets(Stage(Movie(t, 10)).Pull(44100));
    EXPECT_EQ(on, (std::vector<std::size_t>{kFrame, 4 * kFrame, 7 * kFrame}));

    Stage off(Movie(t, 10), Player::Play::Off); // stays in the first frame
    EXPECT_TRUE(Onsets(off.Pull(44100)).empty());
    EXPECT_EQ(off.player().CurrentFrame(), 0);

    swf::TagStream one; // the first frame sounds once either way; one frame alone never retriggers
    DefinePcm(one, 1, Level(1000, 100));
    one.StartSound(1).ShowFrame().End();
    for (auto play : {Player::Play::On, Player::Play::Off})
        EXPECT_EQ(Onsets(Stage(Movie(one, 10), play).Pull(44100)), (std::vector<std::size_t>{0}));
}

TEST(Timeline, SoundsMixAtTheirRateWithLoopsAndInOutPoints)
{
    swf::TagStream t;
    std::vector<std::int16_t> ramp(1000);
    for (int i = 0; i < 1000; ++i) ramp[i] = static_cast<std::int16_t>(i + 1);
    DefinePcm(t, 1, ramp);
    swf::SoundInfo part;
    part.inPoint = 100;
    part.outPoint = 200;
    part.loopCount = 3;
    t.StartSound(1, part).ShowFrame().End();
    const auto mix = Stage(Movie(t, 10)).Pull(2000);
    EXPECT_EQ(At(mix, 0), 101);
    EXPECT_EQ(At(mix, 99), 200);
    EXPECT_EQ(At(mix, 100), 101); // second round
    EXPECT_EQ(At(mix, 299), 200);
    EXPECT_EQ(At(mix, 300), 0);
    EXPECT_EQ(mix[1], mix[0]); // mono goes to both sides

    // 11025 Hz plays four output samples per source sample, interpolated.
    swf::TagStream slow;
    DefinePcm(slow, 1, std::vector<std::int16_t>{0, 400, 400}, swf::SoundRate::Hz11025);
    slow.StartSound(1).ShowFrame().End();
    const auto smix = Stage(Movie(slow, 10)).Pull(16);
    EXPECT_EQ(At(smix, 2), 200);
    EXPECT_EQ(At(smix, 4), 400);
    EXPECT_EQ(At(smix, 12), 0);
}

TEST(Timeline, SyncStopStopsThatSoundStopSoundsEveryOneAndNoMultipleKeepsOneInstance)
{
    swf::TagStream t;
    DefinePcm(t, 1, Level(1000, 44100));
    DefinePcm(t, 2, Level(10, 44100));
    swf::SoundInfo stop;
    stop.syncStop = true;
    swf::SoundInfo single;
    single.syncNoMultiple = true;
    t.StartSound(1).StartSound(2).ShowFrame();
    t.StartSound(1, single).ShowFrame(); // already playing: no second instance
    t.StartSound(1).ShowFrame();         // a plain start adds one
    t.StartSound(1, stop).ShowFrame();
    t.DoAction(swf::Actions().StopSounds()).ShowFrame().End();
    const auto mix = Stage(Movie(t, 10)).Pull(5 * kFrame);
    EXPECT_EQ(At(mix, kFrame + 10), 1010);
    EXPECT_EQ(At(mix, 2 * kFrame + 10), 2010);
    EXPECT_EQ(At(mix, 4 * kFrame - 1), 10); // only the other sound is left
    EXPECT_EQ(FirstSound(mix, 4 * kFrame), -1);
}

TEST(Timeline, StopHoldsTheFrameAndGotoFrameJumpsButNeverForever)
{
    swf::TagStream t;
    DefinePcm(t, 1, Level(1000, 50));
    Bytes exports; // sound 1 exported as "Tick"
    swf::PutU16(exports, 1);
    swf::PutU16(exports, 1);
    swf::PutString(exports, "Tick");
    const std::uint8_t label[] = {'x', 0}; // actions the player does not run are passed over
    t.Tag(76, exports).ShowFrame().DoAction(swf::Actions().Code(0x04).Record(0x8c, label).GotoFrame(3)).ShowFrame();
    t.ShowFrame().StartSound2("Unknown").StartSound2("Tick").DoAction(swf::Actions().Stop()).ShowFrame().ShowFrame().End();
    Stage stage(Movie(t, 10));
    const auto mix = stage.Pull(44100);
    // Frame 1 jumps straight on to frame 3, which starts its sound by name and stops there.
    EXPECT_EQ(Onsets(mix), (std::vector<std::size_t>{kFrame}));
    EXPECT_EQ(stage.player().CurrentFrame(), 3);

    swf::TagStream loop; // frames that only jump to each other are cut, not followed forever
    loop.DoAction(swf::Actions().GotoFrame(1)).ShowFrame().DoAction(swf::Actions().GotoFrame(0)).ShowFrame().End();
    Stage looping(Movie(loop, 10));
    looping.Pull(44100);
    EXPECT_GE(looping.player().CurrentFrame(), 0) << "the movie is still there";
}

TEST(Timeline, StreamSoundFollowsTheFramesAndRestartsOnTheLoop)
{
    swf::TagStream t;
    const swf::SoundFormatInfo f{swf::SoundFormat::UncompressedLittleEndian, swf::SoundRate::Hz44100, true, false};
    t.SoundStreamHead(f, f, kFrame);
    for (int k = 0; k < 3; ++k)
        t.SoundStreamBlock(swf::Pcm16Bytes(Level(static_cast<std::int16_t>(1000 * (k + 1)), kFrame))).ShowFrame();
    t.End();
    const auto mix = Stage(Movie(t, 10)).Pull(4 * kFrame);
    EXPECT_EQ(At(mix, 10), 1000);
    EXPECT_EQ(At(mix, kFrame + 10), 2000);
    EXPECT_EQ(At(mix, 2 * kFrame + 10), 3000);
    EXPECT_EQ(At(mix, 3 * kFrame + 10), 1000);
}

TEST(Timeline, AtMostThirtyTwoSoundsPlayAtOnce)
{
    swf::TagStream t;
    DefinePcm(t, 1, Level(100, 44100));
    for (int i = 0; i < 50; ++i) t.StartSound(1);
    t.ShowFrame().End();
    Stage stage(Movie(t, 10));
    const auto mix = stage.Pull(10);
    EXPECT_EQ(stage.player().PlayingSounds(), 32u);
    EXPECT_EQ(At(mix, 5), 3200);
}

TEST(Mixer, OneMovieAloneIsUnchangedAndTwoLoudOnesNeverReachFullScale)
{
    const auto tone = Sine(441, 44100, 44100, 30000); // 100 samples a period
    swf::TagStream t;
    DefinePcm(t, 1, tone);
    t.StartSound(1).ShowFrame().End();
    const auto movie = swfplay::Prepare(Movie(t, 10));
    swfplay::Mixer mixer;
    std::vector<std::shared_ptr<Player>> players;
    const auto add = [&] {
        players.push_back(std::make_shared<Player>(Player::Play::On));
        mixer.Attach(players.back());
        players.back()->Install(players.back()->Expect(), movie);
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
    std::int32_t peak = 0;
    for (const auto s : both) peak = std::max<std::int32_t>(peak, std::abs(s));
    EXPECT_LE(peak, swfplay::kLimiterCeiling);
    EXPECT_GT(peak, 30000);
    // Limited, not clipped: once settled, the gain hardly moves within a period
    // (a clipper's would swing between 1 and 0.53 in every one).
    double low = 1, high = 0;
    for (std::size_t i = 5500; 2 * i < both.size(); ++i) {
        const double sum = 2.0 * tone[22000 + i];
        if (std::abs(sum) < 2000) continue;
        low = std::min(low, both[2 * i] / sum);
        high = std::max(high, both[2 * i] / sum);
    }
    EXPECT_LT(high - low, 0.03);
    EXPECT_NEAR(low, 32000.0 / 60000, 0.01);

    mixer.Detach(players[0].get());
    mixer.Pull(swfplay::kLimiterReleaseFrames); // the gain comes back
    EXPECT_TRUE(exact(mixer.Pull(2000), 33000 + swfplay::kLimiterReleaseFrames));
    players.clear();
    EXPECT_EQ(mixer.Players(), 0u);
    EXPECT_EQ(FirstSound(mixer.Pull(100)), -1);
}

TEST(Player, AnOvertakenLoadIsDropped)
{
    swf::TagStream t;
    DefinePcm(t, 1, Level(1000, 1000));
    t.StartSound(1).ShowFrame().End();
    Player player(Player::Play::On);
    const auto first = player.Expect();
    const auto second = player.Expect();
    EXPECT_FALSE(player.Install(first, swfplay::Prepare(Movie(t))));
    EXPECT_FALSE(player.HasMovie());
    EXPECT_FALSE(player.WaitReady(std::chrono::milliseconds(1)));
    EXPECT_TRUE(player.Install(second, swfplay::Prepare(Movie(t))));
    EXPECT_TRUE(player.WaitReady(std::chrono::milliseconds(1)));
}

} // namespace
} // namespace wd::testing
