// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <QAccessible>

#include "ui/Controls.h"

using namespace wd;

TEST(AccessibleText, AControlSaysItsNameWithItsCaption)
{
    QWidget window;
    auto* time = new Label(&window);
    time->SetSpokenName(QStringLiteral("剩余时间"));
    EXPECT_EQ(time->accessibleName(), QStringLiteral("剩余时间"));
    time->SetCaption(QStringLiteral("240"));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(time)->text(QAccessible::Name), QStringLiteral("剩余时间：240"));

    auto* plain = new Label(&window);
    plain->SetCaption(QStringLiteral("第一行\r第二行"));
    EXPECT_EQ(plain->accessibleName(), QStringLiteral("第一行 第二行"));
    EXPECT_EQ(plain->text(), QStringLiteral("第一行\n第二行")); // drawn on two lines all the same

    auto* button = new Button(&window);
    button->SetCaption(QStringLiteral("&Stop!!!"));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name), QStringLiteral("Stop!!!"));
    button->SetCaption(QStringLiteral("继续"));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name), QStringLiteral("继续"));

    auto* frame = new Frame(&window);
    frame->SetSpokenName(QStringLiteral("本关题目"));
    EXPECT_EQ(frame->accessibleName(), QStringLiteral("本关题目"));
    frame->SetCaption(QStringLiteral("第2 关题目\u3000"));
    EXPECT_EQ(frame->accessibleName(), QStringLiteral("第2 关题目"));
}
