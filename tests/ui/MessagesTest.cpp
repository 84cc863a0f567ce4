// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The ten boxes as the toolkit builds them; the e2e roads read the texts of the
// boxes that name the answer and answer real boxes with Enter and Escape.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QMessageBox>
#include <QTranslator>

#include "ui/Messages.h"
#include "ui/Translations.h"

using namespace wd;

// The three confirmations, the boxes without an icon, carry the game's title,
// the others the application's; a lone carriage return breaks the line.
TEST(Messages, EachBoxShowsItsIconButtonsTitleAndLines)
{
    using B = QMessageBox;
    const struct { B::Icon icon; bool okCancel; } kinds[] = { // message 1 to 10
        {B::Information, false}, {B::Warning, false}, {B::Warning, false}, {B::NoIcon, true}, {B::Warning, false},
        {B::Warning, false},     {B::NoIcon, true},   {B::NoIcon, true},   {B::Warning, false}, {B::Information, true}};
    ASSERT_EQ(AllMessages().size(), std::size(kinds));
    for (int i = 0; i < 10; ++i) {
        const auto box = QtMessageBoxes::Build(MessageId(i + 1), QStringLiteral("答案"), nullptr);
        EXPECT_EQ(box->windowTitle(), kinds[i].icon == B::NoIcon ? QStringLiteral("问鼎五关") : QStringLiteral("WenDingWuGuan"));
        EXPECT_EQ(box->icon(), kinds[i].icon) << i + 1;
        EXPECT_EQ(box->standardButtons(), kinds[i].okCancel ? (B::Ok | B::Cancel) : B::Ok) << i + 1;
    }
    const auto text = [](MessageId id) {
        return QtMessageBoxes::Build(id, QStringLiteral("答案"), nullptr)->text().toStdU16String();
    };
    EXPECT_EQ(text(MessageId::TimeUpWithScore), u"对不起\u3000时间到!.正确答案应该是:答案\n  请进入爆煲游戏.");
    EXPECT_EQ(text(MessageId::ConfirmLeave), u"是否决定离开游戏\u3000如果是\u3000你所获得的分数将丢失\u3000"); // read nowhere else
}

TEST(Messages, ChineseDesktopShowsTheSystemButtonTextsInChinese)
{
    ASSERT_TRUE(InstallQtTranslations(QLocale(QLocale::Chinese, QLocale::China)));
    const auto box = QtMessageBoxes::Build(MessageId::ConfirmLeave, {}, nullptr);
    EXPECT_EQ(box->button(QMessageBox::Ok)->text(), QStringLiteral("确定"));
    EXPECT_EQ(box->button(QMessageBox::Cancel)->text(), QStringLiteral("取消"));
    for (QTranslator* t : QCoreApplication::instance()->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(t);
        delete t;
    }
}
