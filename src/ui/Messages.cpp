#include "ui/Messages.h"

#include <array>
#include <stdexcept>

#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QPushButton>

#include "ui/Captions.h"
#include "ui/ProgramIcon.h"
#include "ui/Titles.h"

namespace wd {

namespace {

using enum MessageId;
constexpr MessageButtons Ok = MessageButtons::Ok;
constexpr MessageButtons OkCancel = MessageButtons::OkCancel;
constexpr MessageIcon NoIcon = MessageIcon::None;
constexpr MessageIcon Info = MessageIcon::Information;
constexpr MessageIcon Warn = MessageIcon::Exclamation;

// The button of an address notice that copies the whole address.
constexpr char16_t kCopyAddress[] = u"复制网址";

constexpr std::array<MessageSpec, 10> kMessages{{
    {LevelCleared, u"恭喜!你过关啦!!", false, u"", Ok, Info, false},
    {WrongNoScore, u"对不起　你的表现实在太差了　一分都得不到　正确答案应该是:", true, u"\r 重新再玩吧　", Ok, Warn, false},
    {WrongAnswer, u"对不起　你的答错了.正确答案应该是:", true, u"", Ok, Warn, false},
    {ConfirmLeave, u"是否决定离开游戏　如果是　你所获得的分数将丢失　", false, u"", OkCancel, NoIcon, true},
    {TimeUpNoScore, u"对不起　时间到!你的表现实在太差了　一分都得不到　正确答案应该是:", true, u"\r 重新再玩吧　", Ok, Warn, false},
    {TimeUpWithScore, u"对不起　时间到!.正确答案应该是:", true, u"\r  请进入爆煲游戏.", Ok, Warn, false},
    {ConfirmQuit, u"是否决定退出游戏　", false, u"", OkCancel, NoIcon, true},
    {ConfirmSaved, u"请确定你是否已经保存你所获得的分数", false, u"", OkCancel, NoIcon, true},
    {EnterUserId, u"请输入你在星澜小站注册的用户名　", false, u"", Ok, Warn, false},
    {AskWhenExplode, u"你想知道什么时候会爆或根本不会爆?", false, u"", OkCancel, Info, false},
}};

} // namespace

std::span<const MessageSpec> AllMessages() { return kMessages; }

const MessageSpec& SpecOf(MessageId id)
{
    for (const MessageSpec& m : kMessages)
        if (m.id == id) return m;
    throw std::out_of_range("unknown message");
}

QString MessageText(MessageId id, const QString& answer)
{
    const MessageSpec& m = SpecOf(id);
    QString text = QString::fromUtf16(m.before);
    if (m.withAnswer) text += answer;
    text += QString::fromUtf16(m.after);
    return text;
}

QString MessageTitle(MessageId id)
{
    return QString::fromUtf16(SpecOf(id).confirmation ? kGameTitle : kApplicationTitle);
}

std::unique_ptr<QMessageBox> QtMessageBoxes::Build(MessageId id, const QString& answer, QWidget* parent)
{
    const MessageSpec& m = SpecOf(id);
    auto box = std::make_unique<QMessageBox>(parent);
    box->setWindowModality(Qt::ApplicationModal);
    box->setWindowTitle(MessageTitle(id));
    box->setWindowIcon(ProgramIcon());
    box->setTextFormat(Qt::PlainText);
    box->setText(DisplayLines(MessageText(id, answer)));
    switch (m.icon) {
    case MessageIcon::None: box->setIcon(QMessageBox::NoIcon); break;
    case MessageIcon::Information: box->setIcon(QMessageBox::Information); break;
    case MessageIcon::Exclamation: box->setIcon(QMessageBox::Warning); break;
    }
    if (m.buttons == MessageButtons::OkCancel) {
        box->setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box->setDefaultButton(QMessageBox::Ok);
        box->setEscapeButton(QMessageBox::Cancel);
    } else {
        box->setStandardButtons(QMessageBox::Ok);
        box->setDefaultButton(QMessageBox::Ok);
        box->setEscapeButton(QMessageBox::Ok);
    }
    return box;
}

Answer QtMessageBoxes::Show(MessageId id, const QString& answer)
{
    const auto box = Build(id, answer, QApplication::activeWindow());
    const int pressed = box->exec();
    return pressed == QMessageBox::Ok ? Answer::Ok : Answer::Cancel;
}

namespace {

std::unique_ptr<QMessageBox> BuildNotice(const QString& text)
{
    auto box = std::make_unique<QMessageBox>(QMessageBox::Warning, QString::fromUtf16(kApplicationTitle),
                                             DisplayLines(text), QMessageBox::Ok, QApplication::activeWindow());
    box->setTextFormat(Qt::PlainText);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    box->setDefaultButton(QMessageBox::Ok);
    box->setEscapeButton(QMessageBox::Ok);
    return box;
}

} // namespace

void QtMessageBoxes::Notice(const QString& text) { BuildNotice(text)->exec(); }

void QtMessageBoxes::AddressNotice(const QString& text, const QString& address)
{
    const auto box = BuildNotice(text);
    const QAbstractButton* copy = box->addButton(QString::fromUtf16(kCopyAddress), QMessageBox::ActionRole);
    box->exec();
    if (box->clickedButton() == copy) QGuiApplication::clipboard()->setText(address);
}

} // namespace wd
