// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fakes/GameDriver.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QTest>

#include "fakes/BankFixture.h"
#include "platform/AppPaths.h"
#include "screens/AllScreens.h"
#include "screens/reward/FrmExplosion.h"
#include "ui/AnimationPanel.h"

namespace wd::test {

// Longer than any road takes; a window that waits past it ends the program and the test fails.
constexpr int kGuardMs = 30000;

FileCopy::FileCopy(const QString& from) : file(dir.filePath(QStringLiteral("wending.bin")).toStdString())
{
    const QString copy = QString::fromStdString(file.string());
    if (!QFile::copy(from, copy)) throw std::runtime_error("no question file " + from.toStdString());
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
}

GameDriver::GameDriver(const QString& questionFile, bool realBoxes) : FileCopy(questionFile), ScreenRig(file, realBoxes)
{
    random.Seed(20240601);
    RegisterAllScreens(screens);
    messages.onShow = [this](MessageId id) {
        if (id != MessageId::ConfirmLeave && ClockRunning()) ADD_FAILURE() << "the clock runs under message " << int(id);
    };
    QTimer::singleShot(kGuardMs, &screens, [this] {
        ADD_FAILURE() << "a window was still waiting after " << kGuardMs << " ms";
        screens.EndProgram();
    });
    screens.Show(ScreenId::FrmStart);
}

QString GameDriver::Shown() const
{
    QStringList shown;
    for (std::size_t i = 0; i < kScreenCount; ++i)
        if (State(ScreenId(i)) == ScreenState::Shown) shown << QString::fromLatin1(ScreenName(ScreenId(i)));
    return shown.join(u' ');
}

void GameDriver::Stop(const char* expected) const
{
    ADD_FAILURE() << "expected " << expected << ", shown: " << qUtf8Printable(Shown().isEmpty() ? "nothing" : Shown())
                  << " (the road cannot go on: the test ends here)";
    std::fflush(stdout);
    std::_Exit(EXIT_FAILURE);
}

void GameDriver::At(const QString& shown) const
{
    if (!awaited_.isEmpty()) Stop(ScreenName(awaited_.first())); // the step that was to show it is over
    if (Shown() != shown) Stop(qUtf8Printable(shown));
}

void GameDriver::ExpectAtStartAlone() const
{
    At(QStringLiteral("FrmStart"));
    for (ScreenId gone : {ScreenId::Frmmain, ScreenId::FrmCountUp, ScreenId::FrmExplosion, ScreenId::FrmSaveMoney})
        EXPECT_EQ(State(gone), ScreenState::NotLoaded) << ScreenName(gone);
    EXPECT_EQ(programEnds, 0);
}

Screen& GameDriver::On(ScreenId id) const
{
    if (Screen* screen = screens.Loaded(id)) return *screen;
    Stop(ScreenName(id));
}

QString GameDriver::Text(ScreenId id, const char* name, int index) const
{
    QWidget* w = Control<QWidget>(id, name, index);
    if (!w->isVisibleTo(w->window())) return {};
    if (auto* label = qobject_cast<Label*>(w)) return label->Caption();
    if (auto* frame = qobject_cast<Frame*>(w)) return frame->Caption();
    if (const QVariant text = w->property("text"); text.isValid()) return text.toString(); // a button or a box
    throw std::runtime_error(std::string(name) + " has no text");
}

QStringList GameDriver::Texts(ScreenId id, std::initializer_list<const char*> names) const
{
    QStringList texts;
    for (const char* name : names) texts << Text(id, name);
    return texts;
}

QString GameDriver::Slots() const
{
    QStringList boxes;
    for (int i = 0; i < 5; ++i) {
        const Label* box = Control<Label>(ScreenId::Frmmain, "Lblque", i);
        boxes << box->Caption() + (box->BackColor() == QColor(0xC0, 0xFF, 0xFF) ? QStringLiteral("*") : QString());
    }
    return boxes.join(u'|');
}

QString GameDriver::SlotsAt(int level, int right)
{
    return (QStringLiteral("V|").repeated(right) + QStringLiteral("O|").repeated(level - right)
            + QStringLiteral("|").repeated(5 - level)).chopped(1);
}

QString GameDriver::Marks(ScreenId id) const { return Text(id, "LblEasy", 0) + Text(id, "LblEasy", 1) + Text(id, "LblEasy", 2); }

QString GameDriver::Movie(ScreenId id, const char* panel) const
{
    const QString path = Control<AnimationPanel>(id, panel)->Movie(), name = QFileInfo(path).fileName();
    EXPECT_EQ(path.toStdString(), path.isEmpty() ? "" : MovieFile(name.toUtf8().constData()).string());
    return name;
}

GameDriver::FileRow GameDriver::OnScreen() const
{
    const QString quest = Text(ScreenId::Frmmain, "Lblquestion");
    const auto rows = BankFixture::Query(bank.File(),
                                         "select answer, providers, 'question' from question where quest = ?1 "
                                         "union all select answer, providers, 'easy' from easy where quest = ?1",
                                         quest);
    if (rows.size() != 1) throw std::runtime_error("not one question in the file reads: " + quest.toStdString());
    return {rows[0][0], rows[0][1], rows[0][2]};
}

int GameDriver::PlayedMarks(const QString& table) const
{
    const auto sql = QStringLiteral("select count(*) from %1 where played = 1").arg(table).toUtf8();
    return BankFixture::Query(bank.File(), sql.constData()).at(0).at(0).toInt();
}

void GameDriver::SignIn(const QString& id)
{
    Control<TextBox>(ScreenId::FrmStart, "TxtUserId")->setText(id);
    Control<Button>(ScreenId::FrmStart, "CmdStart")->click();
    if (!screens.Loaded(ScreenId::Frmmain)) return;
    // The test is the clock: it ticks by hand, and real seconds must not.
    QTimer* clock = Control<QTimer>(ScreenId::Frmmain, "Timer1");
    EXPECT_EQ(clock->interval(), 1000);
    clock->setInterval(std::chrono::hours(1));
}

void GameDriver::Type(const QString& text)
{
    Control<TextBox>(ScreenId::Frmmain, "Txtanswer")->setText(text);
    QTest::keyClick(Control<TextBox>(ScreenId::Frmmain, "Txtanswer"), Qt::Key_Return);
}

void GameDriver::AnswerRight()
{
    const FileRow row = OnScreen();
    EXPECT_EQ(Text(ScreenId::Frmmain, "LblProvider"), row.provider);
    Type(QStringLiteral("  ") + row.answer + QStringLiteral(" \u3000"));
}

void GameDriver::ClearLevel(int level)
{
    for (int right = 1; right < level; ++right) {
        AnswerRight();
        EXPECT_EQ(Texts(ScreenId::Frmmain, {"LblNo", "Txtanswer"}) << Slots(),
                  (QStringList{QString::number(right + 1), "", SlotsAt(level, right)}));
    }
    const qsizetype before = messages.texts.size();
    AnswerRight();
    At(QStringLiteral("FrmCountUp"));
    EXPECT_EQ(Messages().mid(before), QStringList{QStringLiteral("恭喜!你过关啦!!")});
    EXPECT_EQ(State(ScreenId::Frmmain), ScreenState::Hidden);
    EXPECT_FALSE(ClockRunning());
    EXPECT_EQ(Movie(ScreenId::Frmmain), QString()) << "the level's movie stops";
}

void GameDriver::Pick(int index, int explodePercent)
{
    random.Push(((explodePercent ? index + 1 : index) % 3 + 0.5f) / 3); // the safe button
    if (explodePercent) random.Push((explodePercent - 40 + 0.5f) / 60);
    Control<Button>(ScreenId::FrmExplosion, "CmdNum", index)->click();
}

QString GameDriver::CountTo(const QString& until)
{
    auto& gamble = static_cast<FrmExplosion&>(On(ScreenId::FrmExplosion));
    QStringList shown{Text(ScreenId::FrmExplosion, "LblScore")};
    for (int i = 0; i < 100 && !gamble.Ended() && shown.last() != until; ++i) {
        random.Push(i % 5 * 0.2f + 0.1f);
        const int reseeds = random.reseeds;
        gamble.Timer1_Timer();
        shown << Text(ScreenId::FrmExplosion, "LblScore");
        EXPECT_EQ(random.reseeds, reseeds + 1);
        EXPECT_EQ(Control<QTimer>(ScreenId::FrmExplosion, "Timer1")->interval(), 1000 * (i % 5 + 1));
    }
    return shown.join(u' ');
}

void GameDriver::PressStop(Answer whenAsked)
{
    if (!static_cast<FrmExplosion&>(On(ScreenId::FrmExplosion)).Ended()) messages.Script(whenAsked); // "继续" asks nothing
    Control<Button>(ScreenId::FrmExplosion, "CmdStop")->click();
}

void GameDriver::Upload(const QString& password)
{
    Control<TextBox>(ScreenId::FrmSaveMoney, "TxtPassword")->setText(password);
    QTest::mouseClick(Control<Label>(ScreenId::FrmSaveMoney, "Label1"), Qt::LeftButton);
}

void GameDriver::OnShown(ScreenId id, std::function<void()> fn)
{
    awaited_ << id;
    const QPointer<QWidget> over = QApplication::activeModalWidget(); // what it is to open over
    auto* poll = new QTimer(&screens);
    QObject::connect(poll, &QTimer::timeout, poll, [this, id, over, fn, poll] {
        if (State(id) != ScreenState::Shown) {
            const auto* modal = qobject_cast<Screen*>(QApplication::activeModalWidget());
            if (modal && modal != over.data()) Stop(ScreenName(id)); // another screen came in its place
            return;
        }
        poll->stop();
        poll->deleteLater();
        awaited_.removeOne(id);
        const std::function<void()> step = fn; // the lambda may be gone before step returns
        step();
    });
    poll->start(1);
}

} // namespace wd::test
