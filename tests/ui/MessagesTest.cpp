// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The ten messages of the game, written out here once more, independently of
// the game's own table; the e2e roads answer real boxes with Enter and Escape.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QMessageBox>
#include <QTranslator>

#include "ui/Messages.h"
#include "ui/Translations.h"

using namespace wd;

namespace {

using M = MessageId;
using B = QMessageBox;

// The ten messages as the game must show them; "\u3000" is the ideographic
// space, "\r" the carriage return, "答案" the inserted answer. The three
// confirmations carry the game's title, the others the application's.
const struct { MessageId id; const char16_t* text; bool okCancel; B::Icon icon; bool confirmation; } kExpected[] = {
    {M::LevelCleared, u"恭喜!你过关啦!!", false, B::Information, false},
    {M::WrongNoScore, u"对不起\u3000你的表现实在太差了\u3000一分都得不到\u3000正确答案应该是:答案\r 重新再玩吧\u3000", false,
     B::Warning, false},
    {M::WrongAnswer, u"对不起\u3000你的答错了.正确答案应该是:答案", false, B::Warning, false},
    {M::ConfirmLeave, u"是否决定离开游戏\u3000如果是\u3000你所获得的分数将丢失\u3000", true, B::NoIcon, true},
    {M::TimeUpNoScore, u"对不起\u3000时间到!你的表现实在太差了\u3000一分都得不到\u3000正确答案应该是:答案\r 重新再玩吧\u3000",
     false, B::Warning, false},
    {M::TimeUpWithScore, u"对不起\u3000时间到!.正确答案应该是:答案\r  请进入爆煲游戏.", false, B::Warning, false},
    {M::ConfirmQuit, u"是否决定退出游戏\u3000", true, B::NoIcon, true},
    {M::ConfirmSaved, u"请确定你是否已经保存你所获得的分数", true, B::NoIcon, true},
    {M::EnterUserId, u"请输入你在星澜小站注册的用户名\u3000", false, B::Warning, false},
    {M::AskWhenExplode, u"你想知道什么时候会爆或根本不会爆?", true, B::Information, false},
};

} // namespace

TEST(Messages, EachOfTheTenBoxesShowsExactlyAsWritten)
{
    ASSERT_EQ(AllMessages().size(), std::size(kExpected));
    for (const auto& e : kExpected) {
        SCOPED_TRACE(static_cast<int>(e.id));
        const QString expected = QString::fromUtf16(e.text);
        EXPECT_EQ(MessageText(e.id, QStringLiteral("答案")).toStdU16String(), expected.toStdU16String());
        const auto box = QtMessageBoxes::Build(e.id, QStringLiteral("答案"), nullptr);
        EXPECT_EQ(box->text().toStdU16String(), QString(expected).replace(u'\r', u'\n').toStdU16String());
        EXPECT_EQ(box->windowTitle(), e.confirmation ? QStringLiteral("问鼎五关") : QStringLiteral("WenDingWuGuan"));
        EXPECT_EQ(box->icon(), e.icon);
        EXPECT_EQ(box->standardButtons(), e.okCancel ? (B::Ok | B::Cancel) : B::Ok);
    }
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
