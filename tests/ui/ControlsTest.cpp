// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QTest>

#include "ProbeScreen.h"
#include "fakes/ScreenRig.h"

using namespace wd;
using namespace wd::test;

namespace {

// A screen with one control of every kind, shown.
struct Controls : ScreenRig, ::testing::Test {
    void SetUp() override
    {
        ProbeScreen::RegisterAs(screens, ScreenId::FrmStart);
        screens.Show(ScreenId::FrmStart);
        screen = screens.Loaded(ScreenId::FrmStart);
        ASSERT_TRUE(screen && QTest::qWaitForWindowExposed(screen));
    }
    template <typename T> T* Get(const char* name) { return screen->controls().Get<T>(name); }
    Screen* screen = nullptr;
};

} // namespace

// Characters outside the BMP arrive as a keyboard or an input method sends
// them: the whole surrogate pair in one key event.
TEST_F(Controls, ATextBoxLimitCountsCharactersAsSeenTypedOrPasted)
{
    const QString face = QStringLiteral("\U0001F600"), han = QStringLiteral("\U00020000"); // two UTF-16 units each
    const auto type = [](QWidget* box, const QString& text, int times) {
        for (int i = 0; i < times; ++i) QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, text, Qt::NoModifier);
    };
    TextBox* id = Get<TextBox>("TxtUserId");
    id->clear();
    type(id, face, 21);
    EXPECT_EQ(id->text(), face.repeated(20));
    id->setText(QString(19, u'a'));
    QGuiApplication::clipboard()->setText(han + QStringLiteral("XYZ"));
    id->paste();
    EXPECT_EQ(id->text(), QString(19, u'a') + han);
    EXPECT_TRUE(id->testAttribute(Qt::WA_InputMethodEnabled));
}

TEST_F(Controls, APasswordBoxShowsAStarForEachCharacterAndTakesNoInputMethod)
{
    const QString face = QStringLiteral("\U0001F600"); // two UTF-16 units
    TextBox* pw = Get<TextBox>("TxtPassword");
    QTest::keyClicks(pw, QStringLiteral("secret12345"));
    EXPECT_EQ(pw->text(), QStringLiteral("secret1234"));
    EXPECT_EQ(pw->displayText(), QString(10, QLatin1Char('*')));
    EXPECT_FALSE(pw->testAttribute(Qt::WA_InputMethodEnabled));
    pw->clear();
    for (int i = 0; i < 3; ++i) QTest::sendKeyEvent(QTest::Click, pw, Qt::Key_unknown, face, Qt::NoModifier);
    QTest::keyClick(pw, Qt::Key_Left); // the mask is a star per unit: the cursor must not stop inside one
    QTest::keyClicks(pw, QStringLiteral("b"));
    EXPECT_EQ(pw->text(), face + face + QStringLiteral("b") + face);
}

TEST_F(Controls, FocusGoesToTheFirstLiveControlAndTabFollowsTheTabOrder)
{
    // CmdEasy (tab 0) is disabled, so CmdPass (tab 1) gets it; Tab skips labels.
    EXPECT_EQ(screen->focusWidget(), Get<Button>("CmdPass"));
    screen->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(screen));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), Get<TextBox>("TxtUserId"));
}

TEST_F(Controls, LinksTurnRedAndBoldUntilThePointerIsOnTheWindowItself)
{
    Label *link1 = Get<Label>("Link1"), *link2 = Get<Label>("Link2");
    const auto hot = [](Label* l) { return l->ForeColor() == QColor(0xFF, 0, 0) && l->Bold(); };
    const auto cool = [](Label* l) { return l->ForeColor() == QColor(0, 0, 0xFF) && !l->Bold(); };
    ASSERT_TRUE(cool(link1) && cool(link2));
    QTest::mouseMove(link1, QPoint(3, 3));
    EXPECT_TRUE(hot(link1) && cool(link2));
    QTest::mouseMove(link2, QPoint(3, 3));
    QTest::mouseMove(Get<Button>("CmdPass"));
    EXPECT_TRUE(hot(link1) && hot(link2)); // nothing but the window's own surface turns them back
    QTest::mouseMove(screen, Get<Shape>("Shape1")->geometry().center()); // a shape is part of the surface
    EXPECT_TRUE(cool(link1) && cool(link2));
}
