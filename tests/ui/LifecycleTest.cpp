#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include "ProbeScreen.h"
#include "fakes/ScreenRig.h"
#include "ui/Screens.h"

using namespace wd;
using namespace wd::test;

namespace {

constexpr ScreenId kFirst = ScreenId::FrmStart;
constexpr ScreenId kDialog = ScreenId::FrmExplosion;
constexpr ScreenId kNext = ScreenId::FrmSaveMoney;

class Lifecycle : public ::testing::Test {
protected:
    void SetUp() override
    {
        ProbeScreen::RegisterAs(rig.screens, kFirst, first);
        ProbeScreen::RegisterAs(rig.screens, kDialog, dialog);
        ProbeScreen::RegisterAs(rig.screens, kNext, next);
    }
    ProbeScreen& Probe(ScreenId id) { return *static_cast<ProbeScreen*>(rig.screens.Loaded(id)); }
    // Fails the test rather than hang if a modal loop is never left.
    void Guard(int ms = 5000)
    {
        QTimer::singleShot(ms, &rig.screens, [this] {
            ADD_FAILURE() << "modal loop not left in time";
            rig.screens.EndProgram();
        });
    }

    ScreenRig rig;
    ProbeLog first, dialog, next;
};

} // namespace

TEST_F(Lifecycle, HideKeepsStateAndUnloadRebuildsFromTheTable)
{
    rig.screens.Show(kNext); // keeps a window up
    rig.screens.Show(kFirst);
    Probe(kFirst).controls().Get<Label>("LblHidden")->show();
    Probe(kFirst).controls().Get<TextBox>("TxtUserId")->setText(QStringLiteral("kessa"));
    rig.screens.Hide(kFirst);
    EXPECT_EQ(rig.screens.State(kFirst), ScreenState::Hidden);
    rig.screens.Show(kFirst);
    EXPECT_EQ(rig.screens.State(kFirst), ScreenState::Shown);
    EXPECT_TRUE(Probe(kFirst).controls().Get<Label>("LblHidden")->isVisible());
    EXPECT_EQ(Probe(kFirst).controls().Get<TextBox>("TxtUserId")->text(), QStringLiteral("kessa"));
    EXPECT_EQ(first.loads, 1);

    Probe(kFirst).controls().Get<Button>("CmdEasy")->setEnabled(true);
    Probe(kFirst).controls().Get<Label>("LblBox")->SetCaption(QStringLiteral("99"));
    rig.screens.Unload(kFirst);
    EXPECT_EQ(rig.screens.State(kFirst), ScreenState::NotLoaded);
    EXPECT_EQ(first.unloads, 1);
    rig.screens.Show(kFirst);
    EXPECT_EQ(first.loads, 2);
    EXPECT_FALSE(Probe(kFirst).controls().Get<Label>("LblHidden")->isVisible());
    EXPECT_FALSE(Probe(kFirst).controls().Get<Button>("CmdEasy")->isEnabled());
    EXPECT_EQ(Probe(kFirst).controls().Get<Label>("LblBox")->Caption(), QStringLiteral("0"));
    EXPECT_EQ(rig.programEnds, 0);
}

TEST_F(Lifecycle, ModalShowReturnsWhenTheDialogHidesOrUnloadsItselfWhileTimersTick)
{
    rig.screens.Show(kFirst);
    QTimer* timer = Probe(kFirst).controls().Get<QTimer>("Timer1");
    int ticks = 0;
    QObject::connect(timer, &QTimer::timeout, [&] { ++ticks; });
    timer->start();
    Guard();
    QTimer::singleShot(50, &rig.screens, [&] { rig.screens.Hide(kDialog); });
    rig.screens.ShowModal(kDialog);
    EXPECT_EQ(rig.screens.State(kDialog), ScreenState::Hidden);
    EXPECT_EQ(dialog.unloads, 0);

    bool blocked = false;
    QTimer::singleShot(100, &rig.screens, [&] {
        blocked = QGuiApplication::modalWindow() == Probe(kDialog).windowHandle();
        Probe(kDialog).close(); // the close box: unload by default
    });
    rig.screens.ShowModal(kDialog);
    EXPECT_TRUE(blocked) << "the dialog was not modal";
    EXPECT_EQ(rig.screens.State(kDialog), ScreenState::NotLoaded);
    EXPECT_EQ(dialog.closeBoxes, 1);
    EXPECT_EQ(dialog.unloads, 1);
    EXPECT_GT(ticks, 2) << "the caller's timer stopped during the modal show";
    EXPECT_EQ(rig.programEnds, 0);
}

TEST_F(Lifecycle, HandlerThatUnloadsItsOwnScreenGoesOnSafely)
{
    // The explosion game's way out: unload itself, then open the next screen
    // modally, then carry on in the same handler.
    rig.screens.Show(kFirst);
    bool handlerFinished = false;
    QPointer<Screen> dialogWindow;
    QTimer::singleShot(50, &rig.screens, [&] {
        ProbeScreen& self = Probe(kDialog);
        dialogWindow = &self;
        QObject::connect(self.controls().Get<Button>("Cmdquit"), &QPushButton::clicked, &self, [&, s = &self] {
            rig.screens.Unload(kDialog);
            QTimer::singleShot(50, &rig.screens, [&] { rig.screens.Unload(kNext); });
            rig.screens.ShowModal(kNext);
            // Still here, and the window is still ours to touch.
            s->controls().Get<Label>("LblBox")->SetCaption(QStringLiteral("after"));
            handlerFinished = dialogWindow != nullptr;
        });
        self.controls().Get<Button>("Cmdquit")->click();
    });
    Guard();
    rig.screens.ShowModal(kDialog);

    EXPECT_TRUE(handlerFinished);
    EXPECT_EQ(dialog.unloads, 1);
    EXPECT_EQ(next.unloads, 1);
    EXPECT_EQ(rig.screens.State(kDialog), ScreenState::NotLoaded);
    ScreenRig::WaitUntil([&] { return dialogWindow.isNull(); }, 1000);
    EXPECT_TRUE(dialogWindow.isNull()) << "the unloaded window was never deleted";
}

TEST_F(Lifecycle, EndProgramLeavesModalLoopsAndRunsNoUnloadStep)
{
    rig.screens.Show(kFirst);
    QTimer::singleShot(50, &rig.screens, [&] { rig.screens.EndProgram(); });
    Guard();
    rig.screens.ShowModal(kDialog);
    EXPECT_EQ(rig.programEnds, 1);
    EXPECT_EQ(rig.screens.State(kFirst), ScreenState::Hidden);
    EXPECT_EQ(rig.screens.State(kDialog), ScreenState::Hidden);
    EXPECT_EQ(first.unloads + dialog.unloads, 0);
    rig.screens.Show(kNext);
    EXPECT_EQ(rig.screens.State(kNext), ScreenState::NotLoaded) << "nothing starts after the end";
}

TEST_F(Lifecycle, NoProgramRunsOnWithoutAVisibleWindow)
{
    rig.screens.Show(kFirst);
    rig.screens.Show(kNext);
    rig.screens.Hide(kFirst);             // a hand-over: hide one ...
    rig.screens.Show(kFirst);             // ... show it again in the same handler
    rig.screens.Unload(kNext);
    QCoreApplication::processEvents();
    EXPECT_EQ(rig.programEnds, 0);

    Probe(kFirst).close(); // close box of the last window
    EXPECT_TRUE(ScreenRig::WaitUntil([&] { return rig.programEnds == 1; }, 1000));
}

TEST_F(Lifecycle, ARealBoxClosesAsCancelWhenATimerUnloadsItsScreenWhichOutlivesTheBox)
{
    QtMessageBoxes real;
    Screens screens(Services{rig.session, rig.bank, real, rig.random, rig.urls}, [] {});
    ProbeScreen::RegisterAs(screens, kFirst, first);
    ProbeScreen::RegisterAs(screens, kDialog, dialog);
    screens.Show(kFirst);
    screens.Show(kDialog);
    Screen& owner = *screens.Loaded(kDialog);
    const QPointer<Screen> alive(&owner);
    QTimer safety; // closes any box left open, so the test cannot hang
    QObject::connect(&safety, &QTimer::timeout, [] {
        ADD_FAILURE() << "a box was left open";
        if (QWidget* w = QApplication::activeModalWidget()) w->close();
    });
    safety.start(5000);

    // As the quiz screen's clock under its quit question: a second box over
    // the first, answered OK, and then the screen that raised both goes.
    QTimer* clock = owner.controls().Get<QTimer>("Timer1");
    QObject::connect(clock, &QTimer::timeout, &owner, [&] {
        clock->stop();
        EXPECT_EQ(QApplication::activeModalWidget()->parentWidget(), &owner);
        QTimer::singleShot(20, &owner, [] {
            if (QWidget* box = QApplication::activeModalWidget()) QTest::keyClick(box, Qt::Key_Return);
        });
        EXPECT_EQ(owner.Ask(MessageId::TimeUpNoScore), Answer::Ok);
        screens.Unload(kDialog);
    });
    clock->start();
    EXPECT_EQ(owner.Ask(MessageId::ConfirmLeave), Answer::Cancel);
    ASSERT_FALSE(alive.isNull()) << "the screen went before its handler had finished";
    EXPECT_FALSE(owner.IsLoaded());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(owner.Ask(MessageId::ConfirmLeave), Answer::Cancel) << "a screen that is gone raises no box";
    EXPECT_TRUE(ScreenRig::WaitUntil([&] { return alive.isNull(); }, 1000)) << "the unloaded screen was never deleted";
}
