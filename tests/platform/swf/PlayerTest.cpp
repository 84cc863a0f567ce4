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
        player_->Install(ticket, PrepareBytes(file));
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

TEST(Timeline, ASoundStartsAtItsFramesTime)
{
    swf::TagStream t;
    DefinePcm(t, 1, Level(1000, 100));
    t.ShowFrame().ShowFrame().ShowFrame().StartSound(1).ShowFrame().ShowFrame().End();
    Stage stage(Movie(t, 10));
    const auto mix = stage.Pull(44100 / 2);
    const auto onsets = Onsets(mix);
    ASSERT_FALSE(onsets.empty());
    EXPECT_GE(onsets[0], 3 * kFrame);
    EXPECT_LT(onsets[0], 4 * kFrame);
}

TEST(Timeline, PlayOnLoopsToTheFirstFrameAndPlayOffRunsItOnce)
{
    swf::TagStream t;
    DefinePcm(t, 1, Level(1000, 100));
    t.StartSound(1).ShowFrame().ShowFrame().ShowFrame().End(); // 0.3 s a round
    const auto on = Onsets(Stage(Movie(t, 10)).Pull(44100));
    EXPECT_EQ(on, (std::vector<std::size_t>{0, 3 * kFrame, 6 * kFrame, 9 * kFrame}));

    Stage off(Movie(t, 10), Player::Play::Off);
    EXPECT_EQ(Onsets(off.Pull(44100)), (std::vector<std::size_t>{0}));
    EXPECT_EQ(off.player().CurrentFrame(), 0);
}

TEST(Timeline, AMovieOfOneFrameDoesNotRetriggerItsSound)
{
    swf::TagStream t;
    DefinePcm(t, 1, Level(1000, 100));
    t.StartSound(1).ShowFrame().End();
    EXPECT_EQ(Onsets(Stage(Movie(t, 10)).Pull(44100)).size(), 1u);
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

TEST(Timeline, StopSoundsSilencesEverySound)
{
    swf::TagStream t;
    DefinePcm(t, 1, Level(1000, 44100));
    t.StartSound(1).ShowFrame().ShowFrame().DoAction(swf::Actions().StopSounds()).ShowFrame().ShowFrame().End();
    const auto mix = Stage(Movie(t, 10)).Pull(4 * kFrame);
    EXPECT_EQ(At(mix, 2 * kFrame - 1), 1000);
    EXPECT_EQ(FirstSound(mix, 2 * kFrame), -1);
}

TEST(Timeline, SyncStopStopsThatSoundAndNoMultipleKeepsOneInstance)
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
    t.StartSound(1, stop).ShowFrame().ShowFrame().End();
    const auto mix = Stage(Movie(t, 10)).Pull(5 * kFrame);
    EXPECT_EQ(At(mix, kFrame + 10), 1010);
    EXPECT_EQ(At(mix, 2 * kFrame + 10), 2010);
    EXPECT_EQ(At(mix, 3 * kFrame + 10), 10); // only the other sound is left
}

TEST(Timeline, StopHoldsTheFrameAndGotoFrameJumps)
{
    swf::TagStream t;
    DefinePcm(t, 1, Level(1000, 50));
    t.ShowFrame().DoAction(swf::Actions().GotoFrame(3)).ShowFrame().ShowFrame();
    t.StartSound(1).DoAction(swf::Actions().Stop()).ShowFrame().ShowFrame().End();
    Stage stage(Movie(t, 10));
    const auto mix = stage.Pull(44100);
    // Frame 1 jumps straight on to frame 3, which sounds and stops there.
    EXPECT_EQ(Onsets(mix), (std::vector<std::size_t>{kFrame}));
    EXPECT_EQ(stage.player().CurrentFrame(), 3);
}

TEST(Timeline, AGotoFrameLoopWithinOneFrameIsCut)
{
    swf::TagStream t;
    t.DoAction(swf::Actions().GotoFrame(1)).ShowFrame().DoAction(swf::Actions().GotoFrame(0)).ShowFrame().End();
    Stage stage(Movie(t, 10));
    stage.Pull(44100); // returns
    EXPECT_GE(stage.player().CurrentFrame(), 0);
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

TEST(Mixer, SumsPlayersAndClipsToSixteenBits)
{
    swf::TagStream t;
    DefinePcm(t, 1, Level(20000, 1000));
    t.StartSound(1).ShowFrame().End();
    const auto file = Movie(t, 10);
    swfplay::Mixer mixer;
    std::vector<std::shared_ptr<Player>> players;
    for (int i = 0; i < 2; ++i) {
        players.push_back(std::make_shared<Player>(Player::Play::On));
        mixer.Attach(players.back());
        players.back()->Install(players.back()->Expect(), PrepareBytes(file));
    }
    EXPECT_EQ(mixer.Pull(4)[0], 32767);
    mixer.Detach(players[0].get());
    EXPECT_EQ(mixer.Pull(4)[0], 20000);
    players.clear();
    EXPECT_EQ(mixer.Players(), 0u);
    EXPECT_EQ(mixer.Pull(4)[0], 0);
}

TEST(Player, AnOvertakenLoadIsDropped)
{
    swf::TagStream t;
    DefinePcm(t, 1, Level(1000, 1000));
    t.StartSound(1).ShowFrame().End();
    Player player(Player::Play::On);
    const auto first = player.Expect();
    const auto second = player.Expect();
    EXPECT_FALSE(player.Install(first, PrepareBytes(Movie(t))));
    EXPECT_FALSE(player.HasMovie());
    EXPECT_FALSE(player.WaitReady(std::chrono::milliseconds(1)));
    EXPECT_TRUE(player.Install(second, PrepareBytes(Movie(t))));
    EXPECT_TRUE(player.WaitReady(std::chrono::milliseconds(1)));
}

} // namespace
} // namespace wd::testing
