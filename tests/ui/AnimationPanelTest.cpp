#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "platform/SoundOutput.h"
#include "platform/swf/TestMovies.h"
#include "ui/AnimationPanel.h"

namespace wd::testing {
namespace {

constexpr int kWait = 10000;

// An output that will not open until told to work, and can break while open.
struct FakeOutput {
    using State = AudioStream::State;
    struct Stream : AudioStream {
        std::shared_ptr<State> state = std::make_shared<State>(State::Playing);
        State Now() const override { return *state; }
    };
    bool works = false;
    int opens = 0;
    std::shared_ptr<State> state;
    std::function<void(State)> changed;

    AudioOpener Opener()
    {
        return [this](swfplay::Mixer&, std::function<void(State)> c) -> std::unique_ptr<AudioStream> {
            ++opens;
            if (!works) return nullptr;
            auto stream = std::make_unique<Stream>();
            state = stream->state;
            changed = std::move(c);
            changed(State::Playing);
            return stream;
        };
    }
    void Fail()
    {
        *state = State::Broken;
        changed(State::Broken);
    }
};

// Lines the sound output writes to the log.
QStringList g_soundLog;
void KeepSoundLog(QtMsgType, const QMessageLogContext& context, const QString& message)
{
    if (QByteArray(context.category) == "wd.sound") g_soundLog << message;
}

class AnimationPanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SoundOutput::Instance().DisableDevice();
        ASSERT_TRUE(dir_.isValid());
    }
    QString Write(const QString& name, const Bytes& bytes)
    {
        const QString path = dir_.filePath(name);
        WriteFile(path.toStdString(), bytes);
        return path;
    }
    // A looping movie holding one constant level.
    QString LevelMovie(const QString& name, std::int16_t level, swf::Container c = swf::Container::Plain)
    {
        swf::TagStream t;
        DefinePcm(t, 1, Level(level, 44100));
        t.StartSound(1).ShowFrame().End();
        return Write(name, Movie(t, 10, c));
    }
    std::vector<std::int16_t> Pull(std::size_t frames) { return SoundOutput::Instance().Mixer().Pull(frames); }

    QTemporaryDir dir_;
};

TEST_F(AnimationPanelTest, ANewMovieReplacesTheOldOneTheEmptyPathStopsAndPanelsMix)
{
    AnimationPanel panel(AnimationPanel::Play::On);
    panel.SetMovie(LevelMovie("a.swf", 1000));
    panel.SetMovie(LevelMovie("b.swf", 3000)); // before the first has loaded, most likely
    ASSERT_TRUE(panel.WaitLoaded(kWait));
    EXPECT_EQ(Pull(100)[50], 3000);
    const QString path = LevelMovie("c.swf", 500, swf::Container::Zlib);
    panel.SetMovie(path);
    EXPECT_EQ(panel.Movie(), path);
    ASSERT_TRUE(panel.WaitLoaded(kWait));
    EXPECT_EQ(Pull(100)[50], 500);

    AnimationPanel other(AnimationPanel::Play::Off);
    other.SetMovie(LevelMovie("d.swf", 2000));
    ASSERT_TRUE(other.WaitLoaded(kWait));
    EXPECT_EQ(Pull(10)[4], 2500);

    panel.SetMovie(QString());
    other.SetMovie(QString());
    EXPECT_TRUE(panel.Movie().isEmpty());
    EXPECT_EQ(FirstSound(Pull(1000)), -1);
}

TEST_F(AnimationPanelTest, MissingAndBrokenFilesAreSilentAndCutOnesPlayWhatTheyCan)
{
    AnimationPanel panel(AnimationPanel::Play::On);
    for (const QString& path : {dir_.filePath("missing.swf"), Write("junk.swf", Bytes(300, 0x41)),
                                Write("empty.swf", {}), QString(dir_.path())}) {
        panel.SetMovie(path);
        ASSERT_TRUE(panel.WaitLoaded(kWait)) << path.toStdString();
        EXPECT_EQ(FirstSound(Pull(2000)), -1) << path.toStdString();
    }

    swf::TagStream t;
    DefinePcm(t, 1, Level(700, 44100));
    t.StartSound(1).ShowFrame();
    DefinePcm(t, 2, Sine(440, 44100, 44100)); // the bulk of the compressed data
    t.Raw(Bytes{0xff, 0xff}).StartSound(999).ShowFrame(); // nonsense tag, unknown sound
    t.StartSound(2).ShowFrame().End();
    auto cut = Movie(t, 10, swf::Container::Zlib);
    cut.resize(cut.size() * 2 / 3);
    auto lying = Movie(t, 10);
    lying[4] = 0x01; // FileLength much too small
    lying[5] = lying[6] = lying[7] = 0;
    for (const auto& file : {cut, lying}) {
        panel.SetMovie(Write("m.swf", file));
        ASSERT_TRUE(panel.WaitLoaded(kWait));
        EXPECT_EQ(Pull(10)[4], 700);
    }
}

TEST_F(AnimationPanelTest, APanelDestroyedWhileLoadingLeavesNothingPlaying)
{
    const QString path = LevelMovie("a.swf", 1000);
    for (int i = 0; i < 20; ++i) {
        AnimationPanel panel(AnimationPanel::Play::On);
        panel.SetMovie(path);
    }
    AnimationPanel last(AnimationPanel::Play::On);
    last.SetMovie(QString());
    EXPECT_EQ(FirstSound(Pull(1000)), -1);
    EXPECT_EQ(SoundOutput::Instance().Mixer().Players(), 1u);
}

// A sound server of the test's own, on a socket in `dir`.
class SoundServer {
public:
    explicit SoundServer(const QString& dir) : dir_(dir) {}
    ~SoundServer() { Stop(); }
    void Start()
    {
        auto env = QProcessEnvironment::systemEnvironment();
        for (const char* v : {"PULSE_RUNTIME_PATH", "PULSE_STATE_PATH", "XDG_CONFIG_HOME", "HOME"}) env.insert(v, dir_);
        process_.setProcessEnvironment(env);
        process_.start(QStandardPaths::findExecutable("pulseaudio"),
                       {"-n", "--daemonize=no", "--use-pid-file=no", "--exit-idle-time=-1", "-L", "module-null-sink", "-L",
                        "module-native-protocol-unix auth-anonymous=1 socket=" + Socket()});
        ASSERT_TRUE(process_.waitForStarted(kWait));
    }
    void Stop()
    {
        process_.kill();
        process_.waitForFinished(kWait);
    }
    QString Socket() const { return dir_ + "/native"; }

private:
    QString dir_;
    QProcess process_;
};

TEST_F(AnimationPanelTest, TheRealOutputPlaysThroughASoundServerAndFindsItAgainAfterItsRestart)
{
    auto& output = SoundOutput::Instance();
    SoundServer server(dir_.path());
    output.UseServer("unix:" + server.Socket().toStdString(), 50);
    swf::TagStream t; // a frame a tenth of a second: the timeline moves as the output pulls the mix
    for (int i = 0; i < 100; ++i) t.ShowFrame();
    auto player = std::make_shared<swfplay::Player>(swfplay::Player::Play::On);
    output.Mixer().Attach(player);
    player->Install(player->Expect(), swfplay::Prepare(Movie(t.End(), 10)));
    const auto playing = [&] {
        const int frame = player->CurrentFrame();
        return QTest::qWaitFor([&] { return player->CurrentFrame() != frame; }, kWait);
    };
    output.Start(); // no server yet: silent, and it keeps trying
    QTRY_VERIFY_WITH_TIMEOUT(output.RetryPending(), kWait);
    EXPECT_FALSE(output.Audible());
    if (QStandardPaths::findExecutable("pulseaudio").isEmpty()) {
        output.DisableDevice();
        GTEST_SKIP() << "no pulseaudio to play through";
    }
    server.Start();
    QTRY_VERIFY_WITH_TIMEOUT(output.Audible(), kWait);
    EXPECT_TRUE(playing());
    server.Stop();
    QTRY_VERIFY_WITH_TIMEOUT(!output.Audible(), kWait);
    server.Start();
    QTRY_VERIFY_WITH_TIMEOUT(output.Audible(), kWait);
    EXPECT_TRUE(playing());
    output.DisableDevice();
}

TEST_F(AnimationPanelTest, TheOutputComesBackOnTheNextMovieOrAfterAFewSecondsAndSaysSoOnce)
{
    auto& output = SoundOutput::Instance();
    FakeOutput fake;
    g_soundLog.clear();
    const auto previous = qInstallMessageHandler(KeepSoundLog);
    output.UseOpener(fake.Opener(), 3600 * 1000); // the next SetMovie comes first
    AnimationPanel panel(AnimationPanel::Play::On);
    panel.SetMovie(LevelMovie("a.swf", 1000));
    QCoreApplication::processEvents(); // the queued opening
    EXPECT_EQ(fake.opens, 1);
    EXPECT_FALSE(output.Audible());
    EXPECT_TRUE(output.RetryPending());
    fake.works = true;
    panel.SetMovie(LevelMovie("b.swf", 2000));
    QCoreApplication::processEvents();
    EXPECT_TRUE(output.Audible());
    EXPECT_FALSE(output.RetryPending());
    ASSERT_TRUE(panel.WaitLoaded(kWait));
    EXPECT_EQ(Pull(10)[4], 2000); // what the output plays

    output.UseOpener(fake.Opener(), 10); // now the timer comes first
    panel.SetMovie(LevelMovie("c.swf", 3000));
    QCoreApplication::processEvents();
    ASSERT_TRUE(output.Audible());
    fake.works = false;
    fake.Fail(); // the sound server went away while the movie played
    const int opens = fake.opens;
    QTRY_VERIFY_WITH_TIMEOUT(fake.opens >= opens + 3, kWait); // retried while the movie should sound
    fake.works = true;
    QTRY_VERIFY_WITH_TIMEOUT(output.Audible(), kWait);
    EXPECT_EQ(g_soundLog.size(), 4) << g_soundLog.join('\n').toStdString(); // silent, back, silent, back

    panel.SetMovie(QString()); // with nothing to sound, a failure waits for the next movie
    fake.Fail();
    const int idle = fake.opens;
    QTest::qWait(100);
    EXPECT_EQ(fake.opens, idle);
    qInstallMessageHandler(previous);
    output.DisableDevice(); // the fake goes out of scope
}

TEST_F(AnimationPanelTest, EveryMovieOfTheGameIsHeard)
{
    const QString folder = QStringLiteral(WD_SWF_DIR "/");
    for (const char* name : {"bantou", "1", "2", "3", "4", "5", "noend", "explore", "baobao"}) {
        const QString path = folder + name + ".swf";
        ASSERT_TRUE(QFile::exists(path)) << path.toStdString();
        for (const auto play : {AnimationPanel::Play::Off, AnimationPanel::Play::On}) {
            AnimationPanel panel(play);
            panel.SetMovie(path);
            ASSERT_TRUE(panel.WaitLoaded(kWait));
            EXPECT_GT(Rms(Pull(44100 / 5)), 300) << name;
        }
    }
}

} // namespace
} // namespace wd::testing
