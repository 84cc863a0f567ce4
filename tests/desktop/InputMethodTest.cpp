// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// Answers and ids typed as most players type them: through a real input
// method with its pinyin engine (IBus, or Fcitx 5 where WD_FCITX is defined),
// on an X server of the test's own, with real key events (XTest) into the real
// screens. A pinyin composition takes the key presses; an Enter that ends one
// commits the letters, and only its release reaches the box.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QTemporaryDir>
#include <QTest>

#include "fakes/BankFixture.h"
#include "fakes/GameDriver.h"
#include "fakes/Servers.h"

using namespace wd;
using namespace wd::test;

namespace wd::test {
bool XKey(const char* keysym, bool down); // XKeys.cpp
}

namespace {

using S = ScreenId;

QString gMissing; // what the input method lacked as the program started

#ifdef WD_FCITX
#define WD_SUITE Fcitx5
constexpr char kPlugin[] = "libfcitx5platforminputcontextplugin.so";

// Fcitx 5 with its pinyin engine, and nothing else, active in every new window.
QString StartInputMethod(ServerGroup& servers)
{
    QDir().mkpath(servers.Path(QStringLiteral("config/fcitx5")));
    QFile profile(servers.Path(QStringLiteral("config/fcitx5/profile"))), config(servers.Path(QStringLiteral("config/fcitx5/config")));
    if (!profile.open(QIODevice::WriteOnly) || !config.open(QIODevice::WriteOnly)) return QStringLiteral("no config folder");
    profile.write("[Groups/0]\nName=Default\nDefault Layout=us\nDefaultIM=pinyin\n[Groups/0/Items/0]\nName=keyboard-us\n"
                  "[Groups/0/Items/1]\nName=pinyin\n[GroupOrder]\n0=Default\n");
    config.write("[Behavior]\nActiveByDefault=True\n");
    profile.close(), config.close();
    servers.Set("QT_IM_MODULE", "fcitx");
    if (!servers.StartSessionBus()) return QStringLiteral("no session bus (dbus-daemon)");
    if (!servers.Start({"fcitx5", "--disable=all", "--enable=dbus,dbusfrontend,xcb,keyboard,pinyin,punctuation"}))
        return QStringLiteral("no fcitx5");
    if (!Soon([] { return ServerGroup::Run({"fcitx5-remote"}).has_value(); })) return QStringLiteral("fcitx5 never came up");
    return {};
}

// A window's input context is made once it has the focus; until then keys pass the engine by.
bool EngineListens() { return ServerGroup::Run({"fcitx5-remote"}).value_or("").trimmed() == "2"; }
#else
#define WD_SUITE IBus
constexpr char kPlugin[] = "libibusplatforminputcontextplugin.so";

// IBus with the pinyin engine of ibus-libpinyin as the global engine.
QString StartInputMethod(ServerGroup& servers)
{
    servers.Set("QT_IM_MODULE", "ibus");
    if (!servers.StartSessionBus()) return QStringLiteral("no session bus (dbus-daemon)");
    if (!servers.Start({"ibus-daemon", "--panel=disable"})) return QStringLiteral("no ibus-daemon");
    const bool pinyin = Soon([] {
        ServerGroup::Run({"ibus", "engine", "libpinyin"}); // fails while the engine starts
        return ServerGroup::Run({"ibus", "engine"}).value_or("").trimmed() == "libpinyin";
    });
    if (!pinyin) return QStringLiteral("no pinyin engine (ibus-libpinyin)");
    servers.Set("IBUS_ADDRESS", ServerGroup::Run({"ibus", "address"}).value_or("").trimmed());
    return {};
}

bool EngineListens() { return true; } // the application's one input context is made as it starts
#endif

// Keys as a keyboard sends them: each pressed, then released.
void Tap(const char* keysym) { XKey(keysym, true), XKey(keysym, false); }
void Type(const char* letters)
{
    for (const char* c = letters; *c; ++c) Tap(std::string(1, *c).c_str());
}

// Every key release the application delivers, by key.
class Releases : public QObject {
public:
    Releases() { qApp->installEventFilter(this); }
    int Of(int key) const { return int(std::count(keys_.begin(), keys_.end(), key)); }

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::KeyRelease && o->isWidgetType()) keys_ << static_cast<QKeyEvent*>(e)->key();
        return false;
    }

private:
    QList<int> keys_;
};

// A game on a question file whose every answer is 中国 ("zhongguo").
class Game : public BankFixture, public GameDriver {
public:
    Game() : GameDriver((Sql("update question set answer = '中国'; update easy set answer = '中国'"),
                         QString::fromStdString(File().string())))
    {
    }
    // The box has the keyboard, and the input method listens to it.
    [[nodiscard]] bool Focus(QWidget* box) const
    {
        return Soon([&] { return QApplication::focusWidget() == box; }) && Soon(EngineListens);
    }
    TextBox* Answer() const { return Control<TextBox>(S::Frmmain, "Txtanswer"); }
    void StartQuiz()
    {
        SignIn();
        PressStart();
        ASSERT_TRUE(Focus(Answer()));
    }
};

} // namespace

TEST(WD_SUITE, PinyinAndSpaceCommitTheHanAnswerAndEnterAnswersItRight)
{
    WD_REQUIRE_PART(gMissing.isEmpty(), gMissing.toStdString());
    Game g;
    g.StartQuiz();
    Type("zhongguo");
    Tap("space");
    ASSERT_TRUE(Soon([&] { return g.Answer()->text() == QStringLiteral("中国"); })) << g.Answer()->text().toStdString();
    Tap("Return");
    EXPECT_TRUE(Soon([&] { return g.Shown() == QStringLiteral("FrmCountUp"); })) << g.Shown().toStdString();
    EXPECT_EQ(g.Messages(), QStringList{QStringLiteral("恭喜!你过关啦!!")});
}

// The Enter that ends a composition belongs to the input method: the letters
// go into the box and nothing is answered. The next Enter answers them.
TEST(WD_SUITE, EnterDuringACompositionPutsTheLettersIntoTheBoxAndAnswersNothing)
{
    WD_REQUIRE_PART(gMissing.isEmpty(), gMissing.toStdString());
    Game g;
    g.StartQuiz();
    Releases released;
    Type("zhongguo");
    Tap("Return");
    ASSERT_TRUE(Soon([&] { return released.Of(Qt::Key_Return) == 1; })) << "the release of Enter reaches the box";
    ASSERT_TRUE(g.Messages().isEmpty()) << "answered: " << g.Messages().join(u'|').toStdString();
    EXPECT_EQ(g.Shown(), QStringLiteral("Frmmain"));
    EXPECT_EQ(g.Answer()->text(), QStringLiteral("zhongguo"));
    EXPECT_EQ(g.Text(S::Frmmain, "LblNo"), QStringLiteral("1"));
    Tap("Return");
    EXPECT_TRUE(Soon([&] { return g.Messages().size() == 1; }));
    EXPECT_EQ(g.Messages().value(0), MessageText(MessageId::WrongNoScore, QStringLiteral("中国")));
}

// The id box on the start screen takes what the input method commits, cut at
// its 20 characters; Enter starts a game only outside a composition.
TEST(WD_SUITE, TheIdBoxTakesWhatTheInputMethodCommitsUpToItsLimitAndOnlyAPlainEnterStarts)
{
    WD_REQUIRE_PART(gMissing.isEmpty(), gMissing.toStdString());
    Game g;
    auto* id = g.Control<TextBox>(S::FrmStart, "TxtUserId");
    ASSERT_TRUE(g.Focus(id));
    const QString before(17, u'a');
    id->setText(before);
    Type("zhongguo");
    Tap("space");
    ASSERT_TRUE(Soon([&] { return id->text() == before + QStringLiteral("中国"); })) << id->text().toStdString();
    Type("zhongguo");
    Tap("Return");
    ASSERT_TRUE(Soon([&] { return id->text() == before + QStringLiteral("中国z"); })) << id->text().toStdString();
    EXPECT_EQ(g.State(S::Frmmain), ScreenState::NotLoaded);
    Tap("Return");
    ASSERT_TRUE(Soon([&] { return g.Shown() == QStringLiteral("Frmmain"); })) << g.Shown().toStdString();
    EXPECT_EQ(g.session.PlayerId, before + QStringLiteral("中国z"));
}

// On the score-saving screen the id takes Han through the input method; the
// masked password box takes the letters as typed, with no composition.
TEST(WD_SUITE, TheScoreIsSavedUnderAHanIdWithAPasswordTypedAsPlainLetters)
{
    WD_REQUIRE_PART(gMissing.isEmpty(), gMissing.toStdString());
    Game g;
    g.StartQuiz();
    g.AnswerRight();
    g.StopAtTally();
    auto* id = g.Control<TextBox>(S::FrmSaveMoney, "TxtUserId");
    ASSERT_TRUE(g.Focus(id));
    id->clear();
    Type("zhongguo");
    Tap("space");
    Tap("Tab");
    auto* password = g.Control<TextBox>(S::FrmSaveMoney, "TxtPassword");
    ASSERT_TRUE(Soon([&] { return QApplication::focusWidget() == password; }));
    Type("mima");
    ASSERT_TRUE(Soon([&] { return password->text() == QStringLiteral("mima"); })) << password->text().toStdString();
    EXPECT_EQ(id->text(), QStringLiteral("中国"));
    QTest::mouseClick(g.Control<Label>(S::FrmSaveMoney, "Label1"), Qt::LeftButton);
    ASSERT_EQ(g.urls.opened.size(), 1);
    EXPECT_TRUE(g.urls.opened[0].contains(QStringLiteral("userid=%E4%B8%AD%E5%9B%BD&passwd=mima&")))
        << g.urls.opened[0].toStdString();
}

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (::testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
    QTemporaryDir auth;
    if (StartXServer(QFile::encodeName(auth.filePath(QStringLiteral("auth"))).toStdString()) < 0) {
        std::fprintf(stderr, "could not start Xvfb with an xauth cookie (scripts/setup.sh installs both)\n");
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    ServerGroup servers;
    gMissing = StartInputMethod(servers);
    const QString plugin = QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/platforminputcontexts/" + kPlugin;
    if (gMissing.isEmpty() && !QFile::exists(plugin)) gMissing = QStringLiteral("no input method plugin ") + plugin;
    if (!gMissing.isEmpty()) gMissing += QStringLiteral(" (scripts/setup.sh installs it); the servers said:\n") + servers.Log();
    int failed = 0;
    {
        QApplication app(argc, argv);
        failed = RUN_ALL_TESTS();
    }
    if (!servers.End()) {
        std::fprintf(stderr, "the input method's processes did not end\n");
        return 1;
    }
    return failed;
}
