// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// Answers and ids typed as most players type them: through a real input
// method with its pinyin engine (IBus, or Fcitx 5 where WD_FCITX is defined),
// on an X server and a session bus of the test's own, with real key events
// (XTest) into the real screens. A composition takes the key presses; the
// Enter that ends one commits the letters, and only its release reaches the box.
// A BackSpace typed after it reaches the box after that release.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLibraryInfo>

#include "fakes/BankFixture.h"
#include "fakes/GameDriver.h"
#include "fakes/Servers.h"

using namespace wd;
using namespace wd::test;

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
    const bool up = servers.Start({"fcitx5", "--disable=all", "--enable=dbus,dbusfrontend,xcb,keyboard,pinyin,punctuation"})
                 && Soon([] { return Execute({"fcitx5-remote"}).first == 0; });
    return up ? "" : "no fcitx5 with its pinyin engine (fcitx5-chinese-addons)";
}
// A window's input context is made once it has the focus; until then keys pass the engine by.
bool Listening() { return Execute({"fcitx5-remote"}).second.trimmed() == "2"; }
constexpr char kPlugin[] = "libfcitx5platforminputcontextplugin.so";
#else
#define WD_SUITE IBus
// IBus with the pinyin engine of ibus-libpinyin as the global engine.
QString StartInputMethod(ServerGroup& servers)
{
    servers.Set("QT_IM_MODULE", "ibus");
    const bool up = servers.Start({"ibus-daemon", "--panel=disable"}) // the engine is not set while it starts
                 && Soon([] {
                        Execute({"ibus", "engine", "libpinyin"});
                        return Execute({"ibus", "engine"}).second == "libpinyin\n";
                    });
    servers.Set("IBUS_ADDRESS", Execute({"ibus", "address"}).second.trimmed());
    return up ? "" : "no ibus-daemon with its pinyin engine (ibus-libpinyin)";
}
bool Listening() { return true; } // the application's one input context is made as it starts
constexpr char kPlugin[] = "libibusplatforminputcontextplugin.so";
#endif

// A game on a question file whose every answer is 中国 ("zhongguo").
class WD_SUITE : public ::testing::Test, public BankFixture, public GameDriver {
public:
    WD_SUITE() : BankFixture("update question set answer = '中国'"), GameDriver(QString::fromStdString(File().string())) {}
    // The box has the keyboard, and the input method listens to it.
    bool Focus(QWidget* box) const { return Soon([&] { return QApplication::focusWidget() == box; }) && Soon(Listening); }
    void StartQuiz()
    {
        SignIn();
        PressStart();
        ASSERT_TRUE(Focus(Control<TextBox>(S::Frmmain, "Txtanswer")));
    }
};

} // namespace

// The Enter that ends a composition belongs to the input method: the letters
// go into the box and nothing is answered. Pinyin and space commit the Han
// answer, and a plain Enter answers it.
TEST_F(WD_SUITE, InTheAnswerBoxOnlyAnEnterOutsideACompositionAnswers)
{
    StartQuiz();
    TextBox* answer = Control<TextBox>(S::Frmmain, "Txtanswer");
    XType("z h o n g g u o Return BackSpace");
    ASSERT_TRUE(Soon([&] { return !Messages().isEmpty() || answer->text() == u"zhonggu"; })) << answer->text().toStdString();
    ASSERT_TRUE(Messages().isEmpty()) << "answered: " << Messages().join(u'|').toStdString();
    answer->clear();
    XType("z h o n g g u o space");
    ASSERT_TRUE(Soon([&] { return answer->text() == QStringLiteral("中国"); })) << answer->text().toStdString();
    XType("Return");
    EXPECT_TRUE(Soon([&] { return Shown() == QStringLiteral("FrmCountUp"); })) << Shown().toStdString();
    EXPECT_EQ(Messages(), QStringList{QStringLiteral("恭喜!你过关啦!!")});
}

// The id box on the start screen takes what the input method commits, cut at
// its 20 characters; Enter starts a game only outside a composition.
TEST_F(WD_SUITE, TheIdBoxTakesWhatTheInputMethodCommitsUpToItsLimitAndOnlyAPlainEnterStarts)
{
    TextBox* id = Control<TextBox>(S::FrmStart, "TxtUserId");
    ASSERT_TRUE(Focus(id));
    const QString typed = QString(17, u'a') + QStringLiteral("中"); // 中国 and the "z" that fits, less two
    id->setText(typed.left(17));
    XType("z h o n g g u o space z h o n g g u o Return BackSpace BackSpace");
    ASSERT_TRUE(Soon([&] { return id->text() == typed; })) << id->text().toStdString();
    EXPECT_EQ(State(S::Frmmain), ScreenState::NotLoaded);
    XType("Return");
    ASSERT_TRUE(Soon([&] { return Shown() == QStringLiteral("Frmmain"); })) << Shown().toStdString();
    EXPECT_EQ(session.PlayerId, typed);
}

// The masked password box takes the letters as typed, with no composition.
TEST_F(WD_SUITE, ThePasswordBoxTakesTheLettersAsTypedWithNoComposition)
{
    StartQuiz();
    AnswerRight();
    StopAtTally();
    TextBox* password = Control<TextBox>(S::FrmSaveMoney, "TxtPassword");
    ASSERT_TRUE(Focus(Control<TextBox>(S::FrmSaveMoney, "TxtUserId")));
    XType("Tab");
    ASSERT_TRUE(Soon([&] { return QApplication::focusWidget() == password; }));
    XType("m i m a");
    ASSERT_TRUE(Soon([&] { return password->text() == QStringLiteral("mima"); })) << password->text().toStdString();
}

int main(int argc, char** argv)
{
    return RunWithServers(argc, argv, [](ServerGroup& servers) -> QString {
        if (!servers.StartX()) return "no Xvfb with xauth";
        if (!servers.StartSessionBus()) return "no session bus (dbus-daemon)";
        const QString plugin = QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/platforminputcontexts/" + kPlugin;
        return QFile::exists(plugin) ? StartInputMethod(servers) : "no input method plugin " + plugin;
    });
}
