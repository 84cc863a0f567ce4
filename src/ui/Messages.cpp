// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/Messages.h"

#include <array>

#include <QAbstractButton>
#include <QClipboard>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>

#include "ui/Captions.h"
#include "ui/ProgramIcon.h"
#include "ui/Screen.h"
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

// kMessages[i] is message i + 1, and the last message has the last row.
static_assert([] {
    for (std::size_t i = 0; i < kMessages.size(); ++i)
        if (kMessages[i].id != MessageId(i + 1)) return false;
    return kMessages.back().id == AskWhenExplode;
}());

// A box whose size, fixed as it is shown, the compositor may change (LetTheCompositorSize).
class Box final : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent* event) override
    {
        QMessageBox::showEvent(event);
        LetTheCompositorSize(*this);
    }
};

} // namespace

std::span<const MessageSpec> AllMessages() { return kMessages; }

const MessageSpec& SpecOf(MessageId id)
{
    const auto row = static_cast<std::size_t>(id) - 1;
    if (row >= kMessages.size()) qFatal("no message %d", static_cast<int>(id));
    return kMessages[row];
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
    auto box = std::make_unique<Box>(parent);
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

Answer QtMessageBoxes::Show(MessageId id, const QString& answer, QWidget* owner)
{
    const int pressed = Run(Build(id, answer, owner), owner);
    return pressed == QMessageBox::Ok ? Answer::Ok : Answer::Cancel;
}

namespace {

std::unique_ptr<QMessageBox> BuildNotice(const QString& text, QWidget* owner)
{
    auto box = std::make_unique<Box>(QMessageBox::Warning, QString::fromUtf16(kApplicationTitle),
                                             DisplayLines(text), QMessageBox::Ok, owner);
    box->setWindowModality(Qt::ApplicationModal);
    box->setTextFormat(Qt::PlainText);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    box->setDefaultButton(QMessageBox::Ok);
    box->setEscapeButton(QMessageBox::Ok);
    return box;
}

} // namespace

void QtMessageBoxes::Notice(const QString& text, QWidget* owner) { Run(BuildNotice(text, owner), owner); }

void QtMessageBoxes::AddressNotice(const QString& text, const QString& address, QWidget* owner)
{
    auto box = BuildNotice(text, owner);
    const QAbstractButton* copy = box->addButton(QString::fromUtf16(kCopyAddress), QMessageBox::ActionRole);
    QObject::connect(copy, &QAbstractButton::clicked, [address] { QGuiApplication::clipboard()->setText(address); });
    Run(std::move(box), owner);
}

int QtMessageBoxes::Run(std::unique_ptr<QMessageBox> box, const QWidget* owner)
{
    const QPointer<QMessageBox> alive(box.get());
    open_.push_back({alive, owner});
    const int pressed = box->exec();
    std::erase_if(open_, [&](const Open& o) { return o.box == alive || !o.box; });
    // Its owner outlives every box it raised; should a box go with a window all
    // the same, it is not deleted twice.
    if (!alive) static_cast<void>(box.release());
    return pressed;
}

void QtMessageBoxes::Dismiss(const QWidget* owner)
{
    std::vector<Open> closing;
    std::erase_if(open_, [&](const Open& o) {
        if (owner && o.owner != owner) return false;
        closing.push_back(o);
        return true;
    });
    for (const Open& o : closing)
        if (o.box) o.box->done(QMessageBox::Cancel);
}

} // namespace wd
