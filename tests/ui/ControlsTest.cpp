#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QTest>

#include "ProbeScreen.h"
#include "fakes/ScreenRig.h"
#include "game/ScoreAddress.h"

using namespace wd;
using namespace wd::test;

namespace {

class Controls : public ::testing::Test {
protected:
    void SetUp() override
    {
        ProbeScreen::RegisterAs(rig.screens, ScreenId::FrmStart, log);
        rig.screens.Show(ScreenId::FrmStart);
        screen = rig.screens.Loaded(ScreenId::FrmStart);
        ASSERT_TRUE(screen);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(screen));
    }
    ScreenRig rig;
    ProbeLog log;
    Screen* screen = nullptr;
};

} // namespace

TEST(Units, FifteenTwipsMakeAPixelAlsoBelowZero)
{
    EXPECT_EQ(QList<int>({TwipsToPixels(9435), TwipsToPixels(7740), TwipsToPixels(-45), TwipsToPixels(0)}),
              QList<int>({629, 516, -3, 0}));
}

// Characters outside the BMP arrive as a keyboard or an input method sends
// them: the whole surrogate pair in one key event.
TEST_F(Controls, TextBoxLimitsCountCharactersAsSeenTypedOrPastedAndNeverCutOneInTwo)
{
    const QString face = QStringLiteral("\U0001F600"), han = QStringLiteral("\U00020000"); // two UTF-16 units each
    const auto type = [](QWidget* box, const QString& text, int times) {
        for (int i = 0; i < times; ++i) QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, text, Qt::NoModifier);
    };
    TextBox* id = screen->controls().Get<TextBox>("TxtUserId");
    id->clear();
    type(id, face, 21);
    EXPECT_EQ(id->text(), face.repeated(20));
    id->setText(QString(19, u'a'));
    id->end(false);
    QGuiApplication::clipboard()->setText(han + QStringLiteral("XYZ"));
    id->paste();
    EXPECT_EQ(id->text(), QString(19, u'a') + han);
    EXPECT_TRUE(EncodeQueryValue(id->text()).endsWith(QStringLiteral("aa%F0%A0%80%80")));
    EXPECT_TRUE(id->testAttribute(Qt::WA_InputMethodEnabled));

    TextBox* pw = screen->controls().Get<TextBox>("TxtPassword");
    QTest::keyClicks(pw, QStringLiteral("secret12345"));
    EXPECT_EQ(pw->text(), QStringLiteral("secret1234"));
    EXPECT_EQ(pw->displayText(), QString(10, QLatin1Char('*')));
    EXPECT_FALSE(pw->testAttribute(Qt::WA_InputMethodEnabled));
    pw->clear();
    type(pw, han, 11);
    EXPECT_EQ(pw->text(), han.repeated(10));
    pw->clear();
    type(pw, face, 3);
    QTest::keyClick(pw, Qt::Key_Left); // the mask is a star per unit: the cursor must not stop inside one
    QTest::keyClicks(pw, QStringLiteral("b"));
    EXPECT_EQ(pw->text(), face + face + QStringLiteral("b") + face);
    EXPECT_FALSE(pw->displayText().contains(u'b'));
}

TEST_F(Controls, LabelThatFitsItsTextGrowsAndShrinksFromItsTopLeftAndACarriageReturnStartsALine)
{
    Label* fit = screen->controls().Get<Label>("LblFit");
    const QPoint topLeft = fit->pos();
    fit->SetCaption(QStringLiteral("2"));
    const QSize small = fit->size();
    fit->SetCaption(QStringLiteral("1000000"));
    EXPECT_GT(fit->width(), 4 * small.width());
    EXPECT_EQ(fit->width(), fit->fontMetrics().horizontalAdvance(QStringLiteral("1000000")));
    EXPECT_EQ(fit->height(), small.height());
    EXPECT_EQ(fit->pos(), topLeft);
    fit->SetCaption(QStringLiteral("2"));
    EXPECT_EQ(fit->size(), small);
    EXPECT_EQ(fit->pos(), topLeft);

    fit->SetCaption(QStringLiteral("问鼎五关\r接受全球澜迷大考验"));
    EXPECT_EQ(fit->Caption(), QStringLiteral("问鼎五关\r接受全球澜迷大考验"));
    EXPECT_EQ(fit->text(), QStringLiteral("问鼎五关\n接受全球澜迷大考验"));
    EXPECT_GE(fit->height(), 2 * small.height());
    EXPECT_LT(fit->height(), 3 * small.height());
}

TEST_F(Controls, CentredBoxKeepsItsSizeCentresNewTextAndClipsWhatDoesNotFit)
{
    Label* box = screen->controls().Get<Label>("LblBox");
    const QRect before = box->geometry();
    for (const QString& text : {QStringLiteral("5"), QStringLiteral("100000")}) {
        box->SetCaption(text);
        EXPECT_EQ(box->geometry(), before);
        // The columns of the grab that hold text rather than background.
        const QImage img = box->grab().toImage();
        int first = img.width(), last = -1;
        for (int x = 0; x < img.width(); ++x)
            for (int y = 0; y < img.height(); ++y)
                if (img.pixel(x, y) != box->BackColor().rgb()) first = std::min(first, x), last = std::max(last, x);
        ASSERT_LE(first, last) << "no text drawn";
        EXPECT_NEAR(first, box->width() - 1 - last, 2) << qPrintable(text);
    }
    box->SetCaption(QString(60, QChar(0x9F0E)));
    EXPECT_EQ(box->geometry(), before);
    EXPECT_GT(box->heightForWidth(box->width()), box->height()); // more text than the box shows
}

TEST_F(Controls, TheTableSetsStackingFramesAndStartingStates)
{
    // Listed higher lies on top; windowed controls above labels.
    const QPoint atTop = screen->controls().Get<Label>("LblTop")->geometry().center();
    EXPECT_EQ(screen->childAt(atTop), screen->controls().Get<Label>("LblTop"));
    const QPoint atButton = screen->controls().Get<Button>("CmdOver")->geometry().center();
    EXPECT_EQ(screen->childAt(atButton), screen->controls().Get<Button>("CmdOver"));

    // A frame holds its children, even above the window's top.
    Frame* fra = screen->controls().Get<Frame>("Fra");
    EXPECT_EQ(fra->geometry(), QRect(300, -3, 93, 67));
    Label* inside = screen->controls().Get<Label>("Lblque", 3);
    EXPECT_EQ(inside->parentWidget(), fra);
    EXPECT_EQ(inside->mapTo(screen, QPoint(0, 0)), QPoint(307, 17));
    fra->hide();
    EXPECT_FALSE(inside->isVisible());

    EXPECT_FALSE(screen->controls().Get<Label>("LblHidden")->isVisible());
    EXPECT_FALSE(screen->controls().Get<Button>("CmdEasy")->isEnabled());
    EXPECT_FALSE(screen->controls().Get<QTimer>("Timer1")->isActive());
    EXPECT_EQ(screen->controls().Get<QTimer>("Timer1")->timerType(), Qt::PreciseTimer);
    EXPECT_EQ(screen->controls().Get<AnimationPanel>("SwfBackground")->PlayMode(), AnimationPanel::Play::On);
}

// A screen takes the handles of its controls when it is built: a name its
// table lacks, another kind or a missing index of an array fails right there,
// and the screen is not loaded.
TEST(ControlHandles, AMisspeltNameAWrongKindOrAMissingIndexFailsWhenTheScreenIsBuilt)
{
    static constexpr Row kRows[] = {{.name = "LblTime", .width = 630, .height = 285},
                                    {.name = "Lblque", .index = 0, .width = 270, .height = 300}};
    using Take = std::function<void(const ControlSet&)>;
    class Handles final : public Screen {
    public:
        Handles(Screens& s, const Take& take)
            : Screen(s, ScreenId::FrmHelp, WindowLayout{.caption = {}, .width = 1500, .height = 1500, .rows = kRows})
        {
            take(controls());
        }
    };
    ScreenRig rig;
    const auto build = [&rig](const Take& take) {
        rig.screens.Register(ScreenId::FrmHelp,
                             [take](Screens& s) -> std::unique_ptr<Screen> { return std::make_unique<Handles>(s, take); });
        rig.screens.Show(ScreenId::FrmHelp);
    };
    const Take wrong[] = {[](const ControlSet& c) { c.Get<Label>("LblTyme"); },
                          [](const ControlSet& c) { c.Get<Button>("LblTime"); },
                          [](const ControlSet& c) { c.GetArray<Label, 2>("Lblque"); }};
    for (const Take& take : wrong) {
        EXPECT_THROW(build(take), std::out_of_range);
        EXPECT_EQ(rig.screens.State(ScreenId::FrmHelp), ScreenState::NotLoaded);
    }
    build([](const ControlSet& c) { c.Get<Label>("LblTime"); c.GetArray<Label, 1>("Lblque"); });
    EXPECT_EQ(rig.screens.State(ScreenId::FrmHelp), ScreenState::Shown);
}

TEST_F(Controls, FocusGoesToTheFirstEnabledControlInTabOrderAndAccessKeysPressOnlyLiveButtons)
{
    // CmdEasy (tab 0) is disabled, so CmdPass (tab 1) gets it; Tab skips labels.
    EXPECT_EQ(screen->focusWidget(), screen->controls().Get<Button>("CmdPass"));
    screen->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(screen));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), screen->controls().Get<Button>("Cmdquit"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), screen->controls().Get<TextBox>("TxtUserId"));

    // An access key presses a button only while it is enabled and visible.
    int easy = 0, pass = 0;
    QObject::connect(screen->controls().Get<Button>("CmdEasy"), &QPushButton::clicked, [&] { ++easy; });
    QObject::connect(screen->controls().Get<Button>("CmdPass"), &QPushButton::clicked, [&] { ++pass; });
    // An access key animates the press: the click follows a moment later.
    auto altKey = [&](Qt::Key key) {
        QTest::keyClick(screen->windowHandle(), key, Qt::AltModifier);
        ScreenRig::WaitUntil([] { return false; }, 250);
    };

    altKey(Qt::Key_E);
    EXPECT_EQ(easy, 0);
    screen->controls().Get<Button>("CmdEasy")->setEnabled(true);
    altKey(Qt::Key_E);
    EXPECT_EQ(easy, 1);

    altKey(Qt::Key_P);
    EXPECT_EQ(pass, 1);
    screen->controls().Get<Button>("CmdPass")->hide();
    altKey(Qt::Key_P);
    EXPECT_EQ(pass, 1);
}

TEST_F(Controls, LinkTurnsRedBoldUnderThePointerAndBackOnlyOverTheFreeSurface)
{
    Label* link1 = screen->controls().Get<Label>("Link1");
    Label* link2 = screen->controls().Get<Label>("Link2");
    auto hot = [](Label* l) { return l->ForeColor() == QColor(0xFF, 0, 0) && l->Bold(); };
    auto cool = [](Label* l) { return l->ForeColor() == QColor(0, 0, 0xFF) && !l->Bold(); };
    ASSERT_TRUE(cool(link1) && cool(link2));

    QTest::mouseMove(link1, QPoint(3, 3));
    EXPECT_TRUE(hot(link1));
    EXPECT_TRUE(cool(link2));
    QTest::mouseMove(link2, QPoint(3, 3));
    EXPECT_TRUE(hot(link1) && hot(link2)); // nothing but the free surface turns them back

    QTest::mouseMove(screen->controls().Get<Button>("CmdPass"));
    QTest::mouseMove(screen->controls().Get<Label>("LblBox"));
    EXPECT_TRUE(hot(link1) && hot(link2));
    // A shape has no window of its own: the pointer over it is over the window.
    QTest::mouseMove(screen, screen->controls().Get<Shape>("Shape1")->geometry().center());
    EXPECT_TRUE(cool(link1) && cool(link2));
    QTest::mouseMove(link1, QPoint(3, 3));
    QTest::mouseMove(screen, QPoint(200, 290));
    EXPECT_TRUE(cool(link1));
    EXPECT_EQ(link1->cursor().shape(), Qt::ArrowCursor);
}
