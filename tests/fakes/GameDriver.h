#pragma once
// A game through the real screens, played as a player plays it, on a copy of a
// question file, with every screen registered as the game registers them. Only
// the edges are fakes: message boxes answered from a script, page requests
// recorded, the program end counted, random numbers pushed by the test and
// then from a fixed seed. The clock ticks only when the test says so.
//
// It knows the answers only from the question file, looked up by the question
// on screen, never from the game's own state.
#include <deque>
#include <functional>
#include <random>

#include <QStringList>
#include <QTemporaryDir>

#include "fakes/FakeMessageBoxes.h"
#include "fakes/FakeUrlOpener.h"
#include "game/Module1.h"
#include "game/QuestionBank.h"
#include "platform/Random.h"
#include "ui/Screen.h"
#include "ui/Screens.h"

namespace wd::test {

class PlayRandom final : public RandomSource {
public:
    void Push(float r) { script_.push_back(r); }
    void Reseed() override {}
    float Next() override;

private:
    std::deque<float> script_;
    std::mt19937 gen_{20240601};
};

class GameDriver {
public:
    struct FileRow {
        QString answer, provider;
    };
    // Plays on a copy of `questionFile`; the start screen is shown.
    explicit GameDriver(const QString& questionFile);
    ~GameDriver();

    // What is on screen.
    QString Shown() const; // the windows shown, e.g. "Frmmain FrmExplosion"
    ScreenState State(ScreenId id) const { return screens.State(id); }
    Screen& On(ScreenId id) const; // a loaded screen; throws if there is none
    // A control of a loaded screen, by name, as the kind T (QWidget: any kind).
    template <class T> T* Control(ScreenId id, const char* name, int index = kNoIndex) const
    {
        return On(id).controls().Get<T>(name, index);
    }
    QString Text(ScreenId id, const char* name, int index = kNoIndex) const;
    bool Visible(ScreenId id, const char* name) const { return Control<QWidget>(id, name)->isVisible(); }
    bool Enabled(ScreenId id, const char* name) const { return Control<QWidget>(id, name)->isEnabled(); }
    QString Slots() const; // the quiz screen's five slots: "V|O|||"
    int PassSlotsUsed() const;
    QString Marks(ScreenId id = ScreenId::Frmmain) const; // easy marks: "X→→"
    QStringList MessagesFrom(std::size_t first) const;
    std::size_t MessageCount() const { return messages.shown.size(); }
    // The start screen alone is shown, nothing else loaded, the program not ended.
    void ExpectAtStartAlone() const;

    // The question file, read with SQL of our own: the row of the question on
    // screen, and how many questions are marked played.
    FileRow OnScreen() const;
    int PlayedMarks() const;

    void SignIn(const QString& id = QStringLiteral("glintora"));
    // The quiz screen.
    void PressStart();
    void Type(const QString& text); // into the answer box, then Enter
    void AnswerRight();
    void AnswerWrong() { Type(OnScreen().answer + QStringLiteral("?")); }
    void Pass();
    void Easy();
    void Tick(int seconds = 1);
    // Answers the level's questions; the quiz screen's checks on the way.
    void ClearLevel(int level);
    // The tally.
    void GoOn();
    void StopAtTally();
    // The gamble: pick a button, safe or exploding at a percentage of the stake;
    // tick until the count shows `until` or ends; Stop (answering the question
    // with whenAsked) or "继续".
    void Pick(int index, int explodePercent = 0);
    QString CountTo(const QString& until = {});
    void PressStop(Answer whenAsked = Answer::Cancel);
    // The score-saving screen.
    void Upload(const QString& password);
    // A button that asks first ("退出(&Q)", "再玩一次", "退出游戏"), answered so.
    void Confirm(ScreenId id, const char* button, Answer answer);
    // Runs fn once the screen is shown: the way into a window shown modally,
    // whose loop holds the step that opened it until the window has gone.
    void OnShown(ScreenId id, std::function<void()> fn);

    // The questions drawn so far that the file marks played (not a game's first).
    QStringList marked;

    QTemporaryDir dir;
    Module1 session;
    PlayRandom random;
    QuestionBank bank;
    FakeMessageBoxes messages;
    FakeUrlOpener urls;
    int programEnds = 0;
    Screens screens;

private:
    void NoteDraw() { marked << Text(ScreenId::Frmmain, "Lblquestion"); }
    int pending_ = 0;
};

} // namespace wd::test
