#include <gtest/gtest.h>

#include <QAccessible>

#include "ui/Captions.h"
#include "ui/Controls.h"

using namespace wd;

TEST(AccessibleText, CaptionsAreSaidWithoutAccessKeysOrLineBreaks)
{
    EXPECT_EQ(WithoutAccessKey(QStringLiteral("退出(&Q)")), QStringLiteral("退出"));
    EXPECT_EQ(WithoutAccessKey(QStringLiteral("拣手题（&E）")), QStringLiteral("拣手题"));
    EXPECT_EQ(WithoutAccessKey(QStringLiteral("&PASS")), QStringLiteral("PASS"));
    EXPECT_EQ(WithoutAccessKey(QStringLiteral("Tom && &Jerry")), QStringLiteral("Tom & Jerry"));
    EXPECT_EQ(WithoutAccessKey(QStringLiteral("(&&)")), QStringLiteral("(&)"));
    EXPECT_EQ(WithoutAccessKey(QStringLiteral("end&")), QStringLiteral("end"));
    // Line breaks are said as a space.
    EXPECT_EQ(SpokenText(QStringLiteral("分数:\r100\r\n分")), QStringLiteral("分数: 100 分"));
    EXPECT_EQ(SpokenText(QStringLiteral("\r")), QString());
}

TEST(AccessibleText, ControlsSayTheirNameAndFollowTheirCaptions)
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
