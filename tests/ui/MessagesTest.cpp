#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QTranslator>

#include "ui/Messages.h"
#include "ui/Translations.h"

using namespace wd;

namespace {

// The ten messages as the game must show them; "\u3000" is the ideographic
// space, "\r" the carriage return, "答案" the inserted answer.
struct Expected {
    MessageId id;
    const char16_t* text;
    bool okCancel;
    QMessageBox::Icon icon;
    const char16_t* title;
};

const Expected kExpected[] = {
    {MessageId::LevelCleared, u"恭喜!你过关啦!!", false, QMessageBox::Information, u"WenDingWuGuan"},
    {MessageId::WrongNoScore,
     u"对不起\u3000你的表现实在太差了\u3000一分都得不到\u3000正确答案应该是:答案\r 重新再玩吧\u3000", false,
     QMessageBox::Warning, u"WenDingWuGuan"},
    {MessageId::WrongAnswer, u"对不起\u3000你的答错了.正确答案应该是:答案", false, QMessageBox::Warning,
     u"WenDingWuGuan"},
    {MessageId::ConfirmLeave, u"是否决定离开游戏\u3000如果是\u3000你所获得的分数将丢失\u3000", true,
     QMessageBox::NoIcon, u"问鼎五关"},
    {MessageId::TimeUpNoScore,
     u"对不起\u3000时间到!你的表现实在太差了\u3000一分都得不到\u3000正确答案应该是:答案\r 重新再玩吧\u3000", false,
     QMessageBox::Warning, u"WenDingWuGuan"},
    {MessageId::TimeUpWithScore, u"对不起\u3000时间到!.正确答案应该是:答案\r  请进入爆煲游戏.", false,
     QMessageBox::Warning, u"WenDingWuGuan"},
    {MessageId::ConfirmQuit, u"是否决定退出游戏\u3000", true, QMessageBox::NoIcon, u"问鼎五关"},
    {MessageId::ConfirmSaved, u"请确定你是否已经保存你所获得的分数", true, QMessageBox::NoIcon, u"问鼎五关"},
    {MessageId::EnterUserId, u"请输入你在星澜小站注册的用户名\u3000", false, QMessageBox::Warning, u"WenDingWuGuan"},
    {MessageId::AskWhenExplode, u"你想知道什么时候会爆或根本不会爆?", true, QMessageBox::Information,
     u"WenDingWuGuan"},
};

} // namespace

TEST(Messages, TheTenTextsTitlesButtonsAndIconsAreExactAndACarriageReturnStartsALine)
{
    ASSERT_EQ(AllMessages().size(), std::size(kExpected));
    for (const Expected& e : kExpected) {
        SCOPED_TRACE(static_cast<int>(e.id));
        const QString expected = QString::fromUtf16(e.text);
        EXPECT_EQ(MessageText(e.id, QStringLiteral("答案")).toStdU16String(), expected.toStdU16String());
        const auto box = QtMessageBoxes::Build(e.id, QStringLiteral("答案"), nullptr);
        EXPECT_EQ(box->text().toStdU16String(), QString(expected).replace(u'\r', u'\n').toStdU16String());
        EXPECT_EQ(box->windowTitle(), QString::fromUtf16(e.title));
        EXPECT_EQ(box->icon(), e.icon);
        EXPECT_EQ(box->standardButtons(), e.okCancel ? (QMessageBox::Ok | QMessageBox::Cancel) : QMessageBox::Ok);
    }
}

TEST(Messages, RealBoxAnswersOkOnEnterAndCancelOnEscape)
{
    QtMessageBoxes boxes;
    auto pressSoon = [](Qt::Key key) {
        QTimer::singleShot(50, [key] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) QTest::keyClick(box, key);
        });
    };
    QTimer safety; // closes any box left open, so the test cannot hang
    safety.setInterval(3000);
    QObject::connect(&safety, &QTimer::timeout, [] {
        if (QWidget* w = QApplication::activeModalWidget()) w->close();
    });
    safety.start();

    pressSoon(Qt::Key_Escape);
    EXPECT_EQ(boxes.Show(MessageId::ConfirmQuit), Answer::Cancel);
    pressSoon(Qt::Key_Return);
    EXPECT_EQ(boxes.Show(MessageId::ConfirmQuit), Answer::Ok);
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
