// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// Answers and ids typed as most players type them: through a real input
// method with its pinyin engine (IBus, or Fcitx 5 where WD_FCITX is defined),
// on an X server and a session bus of the test's own, with real key events
// (XTest) into the real screens. A composition takes the key presses; the
// Enter that ends one commits the letters, and only its release reaches the box.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLibraryInfo>
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

#ifdef WD_FCITX
#define WD_SUITE Fcitx5
// Fcitx 5 with its pinyin engine, active in every new window.
QString StartInputMethod(ServerGroup& servers)
{
    servers.Write("config/fcitx5/profile", "[Groups/0]\nName=Default\nDefault Layout=us\nDefaultIM=pinyin\n"
                                           "[Groups/0/Items/0]\nName=keyboard-us\n[Groups/0/Items/1]\nName=pinyin\n"
                                           "[GroupOrder]\n0=Default\n");
    servers.Write("config/fcitx5/config", "[Behavior]\nActiveByDefault=True\n");
    servers.Set("QT_IM_MODULE", "fcitx");
    if (!servers.Start({"fcitx5", "--disable=all", "--enable=dbus,dbusfrontend,xcb,keyboard,pinyin,punctuation"}))
        return "no fcitx5";
    return Soon([] { return ServerGroup::Run({"fcitx5-remote"}).has_value(); }) ? "" : "fcitx5 never came up";
}
// A window's input context is made once it has the focus; until then keys pass the engine by.
bool Listening() { return ServerGroup::Run({"fcitx5-remote"}).value_or("").trimmed() == "2"; }
constexpr char kPlugin[] = "libfcitx5platforminputcontextplugin.so";
#else
#define WD_SUITE IBus
// IBus with the pinyin engine of ibus-libpinyin as the global engine.
QString StartInputMethod(ServerGroup& servers)
{
    servers.Set("QT_IM_MODULE", "ibus");
    if (!servers.Start({"ibus-daemon", "--panel=disable"})) return "no ibus-daemon";
    if (!Soon([] {
            ServerGroup::Run({"ibus", "engine", "libpinyin"}); // fails while the engine starts
            return ServerGroup::Run({"ibus", "engine"}).value_or("").trimmed() == "libpinyin";
        }))
        return "no pinyin engine (ibus-libpinyin)";
    servers.Set("IBUS_ADDRESS", ServerGroup::Run({"ibus", "address"}).value_or("").trimmed());
    return {};
}
bool Listening() { return true; } // the application's one input context is made as it starts
constexpr char kPlugin[] = "libibusplatforminputcontextplugin.so";
#endif

// Keys as a keyboard sends them: each pressed, then released.
void Type(const char* keys)
{
    for (const QByteArray& key : QByteArray(keys).split(' ')) XKey(key, true), XKey(key, false);
}

// A game on a question file whose every answer is 中国 ("zhongguo"), and how
// many key releases of Enter reached the application.
class Game : public BankFixture, public GameDriver, public QObject {
public:
    Game() : GameDriver((Sql("update question set answer = '中国'"), QString::fromStdString(File().string())))
    {
        qApp->installEventFilter(this);
    }
    // The box has the keyboard, and the input method listens to it.
    [[nodiscard]] bool Focus(QWidget* box) const
    {
        return Soon([&] { return QApplication::focusWidget() == box; }) && Soon(Listening);
    }
    TextBox* Box(S id, const char* name) const { return Control<TextBox>(id, name); }
    void StartQuiz()
    {
        SignIn();
        PressStart();
        ASSERT_TRUE(Focus(Box(S::Frmmain, "Txtanswer")));
    }
    int enterReleases = 0;

private:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        enterReleases += o->isWidgetType() && e->type() == QEvent::KeyRelease && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Return;
        return false;
    }
};

} // namespace

// The Enter that ends a composition belongs to the input method: the letters
// go into the box and nothing is answered. Pinyin and space commit the Han
// answer, and a plain Enter answers it.
TEST(WD_SUITE, InTheAnswerBoxOnlyAnEnterOutsideACompositionAnswers)
{
    WD_REQUIRE_PART(MissingServers());
    Game g;
    g.StartQuiz();
    TextBox* answer = g.Box(S::Frmmain, "Txtanswer");
    Type("z h o n g g u o Return");
    ASSERT_TRUE(Soon([&] { return g.enterReleases == 1; })) << "the release of Enter reaches the box";
    ASSERT_TRUE(g.Messages().isEmpty()) << "answered: " << g.Messages().join(u'|').toStdString();
    EXPECT_EQ(answer->text(), QStringLiteral("zhongguo"));
    answer->clear();
    Type("z h o n g g u o space");
    ASSERT_TRUE(Soon([&] { return answer->text() == QStringLiteral("中国"); })) << answer->text().toStdString();
    Type("Return");
    EXPECT_TRUE(Soon([&] { return g.Shown() == QStringLiteral("FrmCountUp"); })) << g.Shown().toStdString();
    EXPECT_EQ(g.Messages(), QStringList{QStringLiteral("恭喜!你过关啦!!")});
}

// The id box on the start screen takes what the input method commits, cut at
// its 20 characters; Enter starts a game only outside a composition.
TEST(WD_SUITE, TheIdBoxTakesWhatTheInputMethodCommitsUpToItsLimitAndOnlyAPlainEnterStarts)
{
    WD_REQUIRE_PART(MissingServers());
    Game g;
    TextBox* id = g.Box(S::FrmStart, "TxtUserId");
    ASSERT_TRUE(g.Focus(id));
    const QString typed = QString(17, u'a') + QStringLiteral("中国z");
    id->setText(typed.left(17));
    Type("z h o n g g u o space z h o n g g u o Return");
    ASSERT_TRUE(Soon([&] { return id->text() == typed && g.enterReleases == 1; })) << id->text().toStdString();
    EXPECT_EQ(g.State(S::Frmmain), ScreenState::NotLoaded);
    Type("Return");
    ASSERT_TRUE(Soon([&] { return g.Shown() == QStringLiteral("Frmmain"); })) << g.Shown().toStdString();
    EXPECT_EQ(g.session.PlayerId, typed);
}

// On the score-saving screen the id takes Han through the input method; the
// masked password box takes the letters as typed, with no composition.
TEST(WD_SUITE, TheScoreIsSavedUnderAHanIdWithAPasswordTypedAsPlainLetters)
{
    WD_REQUIRE_PART(MissingServers());
    Game g;
    g.StartQuiz();
    g.AnswerRight();
    g.StopAtTally();
    TextBox *id = g.Box(S::FrmSaveMoney, "TxtUserId"), *password = g.Box(S::FrmSaveMoney, "TxtPassword");
    ASSERT_TRUE(g.Focus(id));
    id->clear();
    Type("z h o n g g u o space Tab");
    ASSERT_TRUE(Soon([&] { return QApplication::focusWidget() == password; }));
    Type("m i m a");
    ASSERT_TRUE(Soon([&] { return password->text() == QStringLiteral("mima"); })) << password->text().toStdString();
    EXPECT_EQ(id->text(), QStringLiteral("中国"));
    QTest::mouseClick(g.Control<Label>(S::FrmSaveMoney, "Label1"), Qt::LeftButton);
    ASSERT_EQ(g.urls.opened.size(), 1);
    EXPECT_TRUE(g.urls.opened[0].contains(QStringLiteral("userid=%E4%B8%AD%E5%9B%BD&passwd=mima&"))) << g.urls.opened[0].toStdString();
}

int main(int argc, char** argv)
{
    return RunWithServers(argc, argv, [](ServerGroup& servers) -> QString {
        servers.Set("QT_QPA_PLATFORM", "xcb");
        if (StartXServer(QFile::encodeName(servers.Path("xauth")).toStdString()) < 0) return "no Xvfb with xauth";
        if (!servers.StartSessionBus()) return "no session bus (dbus-daemon)";
        const QString plugin = QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/platforminputcontexts/" + kPlugin;
        return QFile::exists(plugin) ? StartInputMethod(servers) : "no input method plugin " + plugin;
    });
}
