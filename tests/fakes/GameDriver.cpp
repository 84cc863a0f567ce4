#include "fakes/GameDriver.h"

#include <chrono>
#include <stdexcept>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QFile>
#include <QTest>
#include <QTimer>

#include "screens/AllScreens.h"
#include "screens/quiz/Frmmain.h"
#include "screens/reward/FrmExplosion.h"
#include "ui/Controls.h"

namespace wd::test {

namespace {

constexpr const char* kNames[] = {"FrmStart", "Frmmain", "FrmCountUp", "FrmExplosion", "FrmSaveMoney", "FrmHelp"};
// Longer than any road takes; a window that waits past it ends the program and the test fails.
constexpr int kGuardMs = 30000;

std::filesystem::path CopyOf(const QString& file, const QTemporaryDir& dir)
{
    const QString copy = dir.filePath(QStringLiteral("wending.bin"));
    if (!QFile::copy(file, copy)) throw std::runtime_error("no question file " + file.toStdString());
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    return copy.toStdString();
}

// The rows a query with one optional text parameter reads from the file, each as its columns.
std::vector<QStringList> Query(const std::filesystem::path& file, const char* sql, const QString& param = {})
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* st = nullptr;
    std::vector<QStringList> rows;
    const QByteArray utf8 = param.toUtf8();
    const bool ok = sqlite3_prepare_v2(db, sql, -1, &st, nullptr) == SQLITE_OK;
    if (ok && !param.isNull()) sqlite3_bind_text(st, 1, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_STATIC);
    while (ok && sqlite3_step(st) == SQLITE_ROW) {
        rows.emplace_back();
        for (int i = 0; i < sqlite3_column_count(st); ++i)
            rows.back() << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)));
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    if (!ok) throw std::runtime_error("unreadable question file");
    return rows;
}

} // namespace

float PlayRandom::Next()
{
    if (script_.empty()) return std::uniform_real_distribution<float>(0.0f, 1.0f)(gen_);
    const float r = script_.front();
    script_.pop_front();
    return r;
}

GameDriver::GameDriver(const QString& questionFile)
    : bank(session, random, CopyOf(questionFile, dir)),
      screens(Services{session, bank, messages, random, urls}, [this] { ++programEnds; })
{
    RegisterAllScreens(screens);
    QTimer::singleShot(kGuardMs, &screens, [this] {
        ADD_FAILURE() << "a window was still waiting after " << kGuardMs << " ms";
        screens.EndProgram();
    });
    screens.Show(ScreenId::FrmStart);
}

GameDriver::~GameDriver()
{
    EXPECT_EQ(pending_, 0) << "a window the road leads to was never shown";
    // Lets the windows that unloaded screens left behind go.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QString GameDriver::Shown() const
{
    QStringList shown;
    for (std::size_t i = 0; i < kScreenCount; ++i)
        if (screens.State(static_cast<ScreenId>(i)) == ScreenState::Shown) shown << QString::fromLatin1(kNames[i]);
    return shown.join(u' ');
}

void GameDriver::ExpectAtStartAlone() const
{
    EXPECT_EQ(Shown(), QStringLiteral("FrmStart"));
    for (ScreenId gone : {ScreenId::Frmmain, ScreenId::FrmCountUp, ScreenId::FrmExplosion, ScreenId::FrmSaveMoney})
        EXPECT_EQ(State(gone), ScreenState::NotLoaded) << kNames[static_cast<int>(gone)];
    EXPECT_EQ(programEnds, 0);
}

Screen& GameDriver::On(ScreenId id) const
{
    Screen* screen = screens.Loaded(id);
    if (!screen) throw std::runtime_error(std::string(kNames[static_cast<int>(id)]) + " is not loaded");
    return *screen;
}

QString GameDriver::Text(ScreenId id, const char* name, int index) const
{
    QWidget* w = Control<QWidget>(id, name, index);
    if (auto* label = qobject_cast<Label*>(w)) return label->Caption();
    if (auto* frame = qobject_cast<Frame*>(w)) return frame->Caption();
    if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text();
    if (auto* box = qobject_cast<QLineEdit*>(w)) return box->text();
    throw std::runtime_error(std::string(name) + " has no text");
}

QString GameDriver::Slots() const
{
    QStringList boxes;
    for (int i = 0; i < 5; ++i) boxes << Text(ScreenId::Frmmain, "Lblque", i);
    return boxes.join(u'|');
}

int GameDriver::PassSlotsUsed() const
{
    int used = 0;
    for (int i = 0; i < 5; ++i)
        used += Control<Label>(ScreenId::Frmmain, "Lblque", i)->BackColor() == QColor(0xC0, 0xFF, 0xFF);
    return used;
}

QString GameDriver::Marks(ScreenId id) const { return Text(id, "LblEasy", 0) + Text(id, "LblEasy", 1) + Text(id, "LblEasy", 2); }

QStringList GameDriver::MessagesFrom(std::size_t first) const
{
    QStringList texts;
    for (std::size_t i = first; i < messages.shown.size(); ++i) texts << messages.shown[i].text;
    return texts;
}

GameDriver::FileRow GameDriver::OnScreen() const
{
    const QString quest = Text(ScreenId::Frmmain, "Lblquestion");
    const auto rows = Query(bank.File(),
                            "select answer, providers from question where quest = ?1 "
                            "union all select answer, providers from easy where quest = ?1",
                            quest);
    if (rows.size() != 1) throw std::runtime_error("not one question in the file reads: " + quest.toStdString());
    return {rows[0][0], rows[0][1]};
}

int GameDriver::PlayedMarks() const
{
    return Query(bank.File(), "select count(*) from question where played = 1").at(0).at(0).toInt();
}

void GameDriver::SignIn(const QString& id)
{
    Screen& start = On(ScreenId::FrmStart);
    start.controls().Get<TextBox>("TxtUserId")->setText(id);
    start.controls().Get<Button>("CmdStart")->click();
    if (Screen* quiz = screens.Loaded(ScreenId::Frmmain)) {
        // The test is the clock: it ticks by hand, and real seconds must not.
        QTimer* clock = quiz->controls().Get<QTimer>("Timer1");
        EXPECT_EQ(clock->interval(), 1000);
        clock->setInterval(std::chrono::hours(1));
    }
}

void GameDriver::PressStart() { Control<Button>(ScreenId::Frmmain, "CmdStart")->click(); }

void GameDriver::Type(const QString& text)
{
    TextBox* box = Control<TextBox>(ScreenId::Frmmain, "Txtanswer");
    box->setText(text);
    QTest::keyClick(box, Qt::Key_Return);
}

void GameDriver::AnswerRight()
{
    const FileRow row = OnScreen();
    EXPECT_EQ(Text(ScreenId::Frmmain, "LblProvider"), row.provider);
    Type(row.answer);
    if (screens.State(ScreenId::FrmCountUp) == ScreenState::NotLoaded) NoteDraw();
}

void GameDriver::Pass()
{
    Control<Button>(ScreenId::Frmmain, "CmdPass")->click();
    NoteDraw();
}

void GameDriver::Easy() { Control<Button>(ScreenId::Frmmain, "CmdEasy")->click(); }

void GameDriver::Tick(int seconds)
{
    for (int i = 0; i < seconds; ++i) static_cast<Frmmain&>(On(ScreenId::Frmmain)).Timer1_Timer();
}

void GameDriver::ClearLevel(int level)
{
    std::size_t before = 0;
    for (int right = 1; right <= level; ++right) {
        before = MessageCount();
        AnswerRight();
        if (right == level) break;
        EXPECT_EQ(Slots().count(u'V'), right);
        EXPECT_EQ(Text(ScreenId::Frmmain, "LblNo"), QString::number(right + 1));
        EXPECT_EQ(Shown(), QStringLiteral("Frmmain"));
    }
    EXPECT_EQ(MessagesFrom(before), QStringList{QStringLiteral("恭喜!你过关啦!!")});
    EXPECT_EQ(Shown(), QStringLiteral("FrmCountUp"));
    EXPECT_EQ(State(ScreenId::Frmmain), ScreenState::Hidden);
    EXPECT_FALSE(Control<QTimer>(ScreenId::Frmmain, "Timer1")->isActive());
}

void GameDriver::GoOn()
{
    Control<Button>(ScreenId::FrmCountUp, "OKButton")->click();
    if (State(ScreenId::Frmmain) == ScreenState::Shown) NoteDraw();
}

void GameDriver::StopAtTally() { Control<Button>(ScreenId::FrmCountUp, "CancelButton")->click(); }

void GameDriver::Pick(int index, int explodePercent)
{
    const int safe = explodePercent ? (index + 1) % 3 : index;
    random.Push((safe + 0.5f) / 3);
    if (explodePercent) random.Push((explodePercent - 40 + 0.5f) / 60);
    Control<Button>(ScreenId::FrmExplosion, "CmdNum", index)->click();
}

QString GameDriver::CountTo(const QString& until)
{
    auto& gamble = static_cast<FrmExplosion&>(On(ScreenId::FrmExplosion));
    QStringList shown{gamble.controls().Get<Label>("LblScore")->Caption()};
    for (int i = 0; i < 100 && !gamble.Ended() && shown.last() != until; ++i) {
        gamble.Timer1_Timer();
        shown << gamble.controls().Get<Label>("LblScore")->Caption();
    }
    return shown.join(u' ');
}

void GameDriver::PressStop(Answer whenAsked)
{
    auto& gamble = static_cast<FrmExplosion&>(On(ScreenId::FrmExplosion));
    if (!gamble.Ended()) messages.Script(whenAsked); // "继续" asks nothing
    gamble.controls().Get<Button>("CmdStop")->click();
}

void GameDriver::Upload(const QString& password)
{
    Control<TextBox>(ScreenId::FrmSaveMoney, "TxtPassword")->setText(password);
    QTest::mouseClick(Control<Label>(ScreenId::FrmSaveMoney, "Label1"), Qt::LeftButton);
}

void GameDriver::Confirm(ScreenId id, const char* button, Answer answer)
{
    messages.Script(answer);
    Control<Button>(id, button)->click();
}

void GameDriver::OnShown(ScreenId id, std::function<void()> fn)
{
    ++pending_;
    auto* poll = new QTimer(&screens);
    QObject::connect(poll, &QTimer::timeout, poll, [this, id, fn, poll] {
        if (State(id) != ScreenState::Shown) return;
        poll->stop();
        poll->deleteLater();
        --pending_;
        const std::function<void()> step = fn; // the lambda may be gone before step returns
        try {
            step();
        } catch (const std::exception& e) {
            ADD_FAILURE() << e.what();
            screens.EndProgram();
        }
    });
    poll->start(1);
}

} // namespace wd::test
