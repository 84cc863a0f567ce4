// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>

#include "platform/SoundOutput.h"
#include "platform/swf/TestMovies.h"
#include "ui/AnimationPanel.h"

namespace wd::testing {
namespace {

constexpr int kWait = 10000;

class AnimationPanelTest : public ::testing::Test {
protected:
    void SetUp() override { SoundOutput::Instance().DisableDevice(); }
    QString Write(const QString& name, const Bytes& bytes)
    {
        return WriteFile(dir_.filePath(name).toStdString(), bytes), dir_.filePath(name);
    }
    // A looping movie holding one constant level; behind it, if asked, data that a cut may lose.
    Bytes LevelMovie(std::int16_t level, swf::Container c = swf::Container::Plain, bool bulk = false)
    {
        swf::TagStream t;
        DefinePcm(t, 1, Level(level, 44100)).StartSound(1).ShowFrame();
        if (bulk) DefinePcm(t, 2, Sine(440, 44100, 44100)).Raw(Bytes{0xff, 0xff}).StartSound(999).StartSound(2).ShowFrame();
        return Movie(t.End(), 10, c);
    }
    std::int16_t Loudest(std::size_t frames)
    {
        const auto mix = SoundOutput::Instance().Mixer().Pull(frames);
        return *std::max_element(mix.begin(), mix.end());
    }
    // A PulseAudio server of the test's own, on a socket in the test's folder.
    void StartServer(QProcess& server)
    {
        auto env = QProcessEnvironment::systemEnvironment();
        for (const char* v : {"PULSE_RUNTIME_PATH", "PULSE_STATE_PATH", "XDG_CONFIG_HOME", "HOME"}) env.insert(v, dir_.path());
        server.setProcessEnvironment(env);
        server.start(pulseaudio_, {"-n", "--daemonize=no", "--use-pid-file=no", "--exit-idle-time=-1", "-L", "module-null-sink",
                                   "-L", "module-native-protocol-unix auth-anonymous=1 socket=" + socket_});
        ASSERT_TRUE(server.waitForStarted(kWait));
    }
    // Without pulseaudio the test skips, but fails in CI, whose set-up installs it.
    bool NoPulseaudio()
    {
        EXPECT_FALSE(pulseaudio_.isEmpty() && std::getenv("CI")) << "no pulseaudio to play through";
        return pulseaudio_.isEmpty();
    }
    static qsizetype Threads() { return QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(); }
    QTemporaryDir dir_;
    const QString socket_ = dir_.filePath("native"), pulseaudio_ = QStandardPaths::findExecutable("pulseaudio");
};

TEST_F(AnimationPanelTest, ANewMovieReplacesTheOldOnePanelsMixAndTheEmptyPathBadOrDestroyedOnesAreSilent)
{
    AnimationPanel panel(AnimationPanel::Play::On);
    panel.SetMovie(Write("a.swf", LevelMovie(1000)));
    const QString path = Write("b.swf", LevelMovie(3000, swf::Container::Zlib));
    panel.SetMovie(path); // before the first has loaded, most likely
    ASSERT_TRUE(panel.WaitLoaded(kWait));
    EXPECT_EQ(Loudest(100), 3000);
    {
        AnimationPanel other(AnimationPanel::Play::Off);
        other.SetMovie(Write("c.swf", LevelMovie(2000)));
        ASSERT_TRUE(other.WaitLoaded(kWait));
        EXPECT_EQ(Loudest(100), 5000);
        for (int i = 0; i < 20; ++i) AnimationPanel(AnimationPanel::Play::On).SetMovie(path); // gone while loading
    }
    EXPECT_EQ(Loudest(1000), 3000);
    panel.SetMovie(QString());
    EXPECT_EQ(Loudest(1000), 0);

    // Missing, foreign, empty or a folder: silent. Cut short, or claiming to be
    // far shorter than it is (and holding a nonsense tag): what can be read plays.
    auto cut = LevelMovie(700, swf::Container::Zlib, true), lying = LevelMovie(700, swf::Container::Plain, true);
    cut.resize(cut.size() * 2 / 3);
    lying[4] = 0x01, lying[5] = lying[6] = lying[7] = 0;
    const std::pair<QString, int> files[] = {{dir_.filePath("missing.swf"), 0}, {Write("junk.swf", Bytes(300, 0x41)), 0},
                                             {Write("empty.swf", {}), 0},        {dir_.path(), 0},
                                             {Write("cut.swf", cut), 700},       {Write("lying.swf", lying), 700}};
    for (const auto& [file, level] : files) {
        panel.SetMovie(file);
        ASSERT_TRUE(panel.WaitLoaded(kWait));
        EXPECT_EQ(Loudest(2000), level) << file.toStdString();
    }
}

TEST_F(AnimationPanelTest, EveryMovieOfTheGameIsHeard)
{
    for (const char* name : {"bantou", "1", "2", "3", "4", "5", "noend", "explore", "baobao"}) {
        for (const auto play : {AnimationPanel::Play::Off, AnimationPanel::Play::On}) {
            AnimationPanel panel(play);
            panel.SetMovie(QStringLiteral(WD_SWF_DIR "/%1.swf").arg(name));
            ASSERT_TRUE(panel.WaitLoaded(kWait));
            EXPECT_GT(Loudest(44100 / 5), 1000) << name;
        }
    }
}

// The real output through a PulseAudio server of the test's own: silent while
// there is none, audible once it runs, and back after the server went away and
// came again.
TEST_F(AnimationPanelTest, TheRealOutputPlaysThroughASoundServerAndFindsItAgainAfterItsRestart)
{
    auto& output = SoundOutput::Instance();
    output.UseServer("unix:" + socket_.toStdString(), 50);
    swf::TagStream t; // a frame a tenth of a second: the timeline moves as the output pulls the mix
    for (int i = 0; i < 100; ++i) t.ShowFrame();
    auto player = std::make_shared<swfplay::Player>(swfplay::Player::Play::On);
    output.Mixer().Attach(player);
    player->Install(player->Expect(), swfplay::Prepare(Movie(t.End(), 10)));
    output.Start(); // no server yet: silent, and it keeps trying
    ASSERT_TRUE(QTest::qWaitFor([&] { return output.RetryPending(); }, kWait));
    EXPECT_FALSE(output.Audible());
    if (NoPulseaudio()) GTEST_SKIP() << "no pulseaudio to play through";
    QProcess server;
    for (int round = 0; round < 2; ++round) { // started, then gone and started again
        ASSERT_NO_FATAL_FAILURE(StartServer(server));
        ASSERT_TRUE(QTest::qWaitFor([&] { return output.Audible(); }, kWait)) << "sound comes back";
        const int frame = player->CurrentFrame();
        EXPECT_TRUE(QTest::qWaitFor([&] { return player->CurrentFrame() != frame; }, kWait)) << "the server pulls the mix";
        server.kill();
        server.waitForFinished(kWait);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !output.Audible(); }, kWait)) << "sound goes with the server";
    }
    output.DisableDevice();
}

// A stopped server, while the output plays and while it connects: closing the
// output (as the program's end does) neither waits for the server nor leaves a
// thread behind.
TEST_F(AnimationPanelTest, AStalledSoundServerHoldsNeitherTheOutputsCloseNorItsThread)
{
    if (NoPulseaudio()) GTEST_SKIP() << "no pulseaudio to play through";
    auto& output = SoundOutput::Instance();
    QProcess server;
    ASSERT_NO_FATAL_FAILURE(StartServer(server));
    QThreadPool::globalInstance()->waitForDone(); // no idle loader thread ends while the test counts
    const auto threads = Threads();
    for (const bool playing : {true, false}) {
        SCOPED_TRACE(playing ? "playing" : "connecting");
        output.UseServer("unix:" + socket_.toStdString());
        if (playing) { // once the server listens
            ASSERT_TRUE(QTest::qWaitFor([&] { return output.Start(), output.Audible(); }, kWait));
            ::kill(server.processId(), SIGSTOP);
        }
        output.Start();
        EXPECT_EQ(Threads(), threads + 1);
        QTest::qWait(300); // the server's buffer fills, or the connection waits for its answer
        QElapsedTimer closing;
        closing.start();
        output.DisableDevice();
        EXPECT_LT(closing.elapsed(), 250);
        EXPECT_EQ(Threads(), threads);
    }
    server.kill(); // stopped or not
    EXPECT_TRUE(server.waitForFinished(kWait));
}

} // namespace
} // namespace wd::testing
