#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include "platform/SoundOutput.h"
#include "platform/swf/TestMovies.h"
#include "ui/AnimationPanel.h"

namespace wd::testing {
namespace {

constexpr int kWait = 10000;

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

TEST_F(AnimationPanelTest, WithoutAnAudioDeviceEverythingRunsSilently)
{
    SoundOutput::Instance().UseDevice(QAudioDevice{});
    AnimationPanel panel(AnimationPanel::Play::On);
    panel.SetMovie(LevelMovie("a.swf", 900));
    QCoreApplication::processEvents(); // the queued start of the output
    SoundOutput::Instance().Start();
    EXPECT_FALSE(SoundOutput::Instance().Audible());
    ASSERT_TRUE(panel.WaitLoaded(kWait));
    EXPECT_EQ(Pull(10)[4], 900); // the mix still runs, for whoever pulls it
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
