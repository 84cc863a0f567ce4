// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <csignal>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>

#include "Mp3Encoder.h"
#include "fakes/Servers.h"
#include "platform/SoundOutput.h"
#include "platform/swf/TestMovies.h"
#include "ui/AnimationPanel.h"

namespace wd::testing {
namespace {

using namespace wd::test;

constexpr int kWait = 10000;

class AnimationPanelTest : public ::testing::Test {
protected:
    void SetUp() override { SoundOutput::Instance().DisableDevice(); }
    QString Write(const QString& name, const Bytes& bytes)
    {
        const QString path = dir_.filePath(name);
        moviemaker::WriteFile(path.toStdString(), bytes);
        return path;
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
    QTemporaryDir dir_;
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

// A sound server of the test's own at the group's runtime/pulse/native, with a
// null sink as its only output and the sink's monitor to hear what reaches it:
// PulseAudio, or PipeWire with WirePlumber and pipewire-pulse in its place, as
// Debian's desktops run it. What is missing, or empty once it and its sink are up.
QString StartSoundServer(ServerGroup& servers, bool pipewire)
{
    const QString socket = servers.Path("runtime/pulse/native");
    if (!pipewire)
        return servers.Start({"pulseaudio", "-n", "--daemonize=no", "--use-pid-file=no", "--exit-idle-time=-1", "-L",
                              "module-null-sink sink_name=wdnull", "-L",
                              "module-native-protocol-unix auth-anonymous=1 socket=" + socket})
                 ? "" : "no pulseaudio";
    if (!servers.StartSessionBus()) return "no session bus (dbus-daemon)"; // for WirePlumber
    // The session manager and the PulseAudio service leave at once if PipeWire is not up yet.
    for (const char* server : {"pipewire", "wireplumber", "pipewire-pulse"})
        if (!servers.Start({server}) || !servers.Listens("runtime/pipewire-0")) return QStringLiteral("no ") + server;
    const QStringList sink{"pactl", "-s", socket, "load-module", "module-null-sink", "sink_name=wdnull"};
    return Soon([&] { return Execute(sink).first == 0; }) ? "" : "no null sink: " + servers.Log();
}

std::string Address(const ServerGroup& servers) { return "unix:" + servers.Path("runtime/pulse/native").toStdString(); }

// Whether a sound louder than `level` reaches the sink within the patience, recorded from its monitor.
bool Hears(ServerGroup& servers, int level)
{
    QFile::remove(servers.Path("heard"));
    servers.Start({"parec", "--server=" + servers.Path("runtime/pulse/native"), "--device=wdnull.monitor", "--raw",
                   "--format=s16le", "--latency-msec=50"}, "heard");
    return Soon([&] {
        const QByteArray heard = servers.Read("heard");
        const auto* samples = reinterpret_cast<const std::int16_t*>(heard.constData());
        return std::any_of(samples, samples + heard.size() / 2, [&](std::int16_t s) { return std::abs(s) > level; });
    });
}

class SoundServerTest : public AnimationPanelTest, public ::testing::WithParamInterface<bool> {};

// The title theme through the real output, as the start screen plays it:
// silent while there is no server, heard on the sink once one runs, silent
// when it goes away, and heard again when it comes back.
TEST_P(SoundServerTest, TheTitleThemeIsHeardOnTheServersSinkAndAgainAfterTheServerRestarts)
{
    auto& output = SoundOutput::Instance();
    ServerGroup server; // ends the server with the test
    output.UseServer(Address(server), 50);
    AnimationPanel title(AnimationPanel::Play::Off);
    title.SetMovie(QStringLiteral(WD_SWF_DIR "/bantou.swf")); // no server yet: silent, and it keeps trying
    ASSERT_TRUE(QTest::qWaitFor([&] { return output.RetryPending(); }, kWait));
    EXPECT_FALSE(output.Audible());
    for (int round = 0; round < 2; ++round) { // started, then gone and started again
        WD_REQUIRE_PART(StartSoundServer(server, GetParam()));
        ASSERT_TRUE(QTest::qWaitFor([&] { return output.Audible(); }, kWait)) << "the output opens";
        EXPECT_TRUE(Hears(server, 1000)) << "the theme reaches the sink";
        ASSERT_TRUE(server.End());
        ASSERT_TRUE(QTest::qWaitFor([&] { return !output.Audible(); }, kWait)) << "sound goes with the server";
    }
    output.DisableDevice();
}

// A stopped server, while the output plays and while it connects: closing the
// output (as the program's end does) neither waits for the server nor leaves a
// thread behind.
TEST_F(AnimationPanelTest, AStalledSoundServerHoldsNeitherTheOutputsCloseNorItsThread)
{
    const auto threads = [] { return QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(); };
    auto& output = SoundOutput::Instance();
    ServerGroup server;
    WD_REQUIRE_PART(StartSoundServer(server, false));
    QThreadPool::globalInstance()->waitForDone(); // no idle loader thread ends while the test counts
    const auto before = threads();
    for (const bool playing : {true, false}) {
        SCOPED_TRACE(playing ? "playing" : "connecting");
        output.UseServer(Address(server));
        if (playing) { ASSERT_TRUE(QTest::qWaitFor([&] { output.Start(); return output.Audible(); }, kWait)); }
        server.Signal(SIGSTOP); // before it answers, or while the output plays to it
        output.Start();
        EXPECT_EQ(threads(), before + 1);
        QTest::qWait(300); // the server's buffer fills, or the connection waits for its answer
        QElapsedTimer closing;
        closing.start();
        output.DisableDevice();
        EXPECT_LT(closing.elapsed(), 250);
        EXPECT_EQ(threads(), before);
    }
    server.Signal(SIGCONT);
}

INSTANTIATE_TEST_SUITE_P(AnimationPanelTest, SoundServerTest, ::testing::Bool(),
                         [](const auto& server) { return server.param ? "PipeWire" : "PulseAudio"; });

} // namespace
} // namespace wd::testing
