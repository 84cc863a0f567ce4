#include <gtest/gtest.h>

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
    TextBox* id = screen->edit("TxtUserId");
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

    TextBox* pw = screen->edit("TxtPassword");
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
    Label* fit = screen->label("LblFit");
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
    Label* box = screen->label("LblBox");
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
    const QPoint atTop = screen->label("LblTop")->geometry().center();
    EXPECT_EQ(screen->childAt(atTop), screen->label("LblTop"));
    const QPoint atButton = screen->button("CmdOver")->geometry().center();
    EXPECT_EQ(screen->childAt(atButton), screen->button("CmdOver"));

    // A frame holds its children, even above the window's top.
    Frame* fra = screen->frame("Fra");
    EXPECT_EQ(fra->geometry(), QRect(300, -3, 93, 67));
    Label* inside = screen->label("Lblque", 3);
    EXPECT_EQ(inside->parentWidget(), fra);
    EXPECT_EQ(inside->mapTo(screen, QPoint(0, 0)), QPoint(307, 17));
    fra->hide();
    EXPECT_FALSE(inside->isVisible());

    EXPECT_FALSE(screen->label("LblHidden")->isVisible());
    EXPECT_FALSE(screen->button("CmdEasy")->isEnabled());
    EXPECT_FALSE(screen->timer("Timer1")->isActive());
    EXPECT_EQ(screen->timer("Timer1")->timerType(), Qt::PreciseTimer);
    EXPECT_EQ(screen->movie("SwfBackground")->PlayMode(), AnimationPanel::Play::On);
    EXPECT_THROW(screen->button("LblFit"), std::out_of_range);
    EXPECT_THROW(screen->label("Lblque", 4), std::out_of_range);
}

TEST_F(Controls, FocusGoesToTheFirstEnabledControlInTabOrderAndAccessKeysPressOnlyLiveButtons)
{
    // CmdEasy (tab 0) is disabled, so CmdPass (tab 1) gets it; Tab skips labels.
    EXPECT_EQ(screen->focusWidget(), screen->button("CmdPass"));
    screen->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(screen));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), screen->button("Cmdquit"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), screen->edit("TxtUserId"));

    // An access key presses a button only while it is enabled and visible.
    int easy = 0, pass = 0;
    QObject::connect(screen->button("CmdEasy"), &QPushButton::clicked, [&] { ++easy; });
    QObject::connect(screen->button("CmdPass"), &QPushButton::clicked, [&] { ++pass; });
    // An access key animates the press: the click follows a moment later.
    auto altKey = [&](Qt::Key key) {
        QTest::keyClick(screen->windowHandle(), key, Qt::AltModifier);
        ScreenRig::WaitUntil([] { return false; }, 250);
    };

    altKey(Qt::Key_E);
    EXPECT_EQ(easy, 0);
    screen->button("CmdEasy")->setEnabled(true);
    altKey(Qt::Key_E);
    EXPECT_EQ(easy, 1);

    altKey(Qt::Key_P);
    EXPECT_EQ(pass, 1);
    screen->button("CmdPass")->hide();
    altKey(Qt::Key_P);
    EXPECT_EQ(pass, 1);
}

TEST_F(Controls, LinkTurnsRedBoldUnderThePointerAndBackOnlyOverTheFreeSurface)
{
    Label* link1 = screen->label("Link1");
    Label* link2 = screen->label("Link2");
    auto hot = [](Label* l) { return l->ForeColor() == QColor(0xFF, 0, 0) && l->Bold(); };
    auto cool = [](Label* l) { return l->ForeColor() == QColor(0, 0, 0xFF) && !l->Bold(); };
    ASSERT_TRUE(cool(link1) && cool(link2));

    QTest::mouseMove(link1, QPoint(3, 3));
    EXPECT_TRUE(hot(link1));
    EXPECT_TRUE(cool(link2));
    QTest::mouseMove(link2, QPoint(3, 3));
    EXPECT_TRUE(hot(link1) && hot(link2)); // nothing but the free surface turns them back

    QTest::mouseMove(screen->button("CmdPass"));
    QTest::mouseMove(screen->label("LblBox"));
    EXPECT_TRUE(hot(link1) && hot(link2));
    // A shape has no window of its own: the pointer over it is over the window.
    QTest::mouseMove(screen, screen->shape("Shape1")->geometry().center());
    EXPECT_TRUE(cool(link1) && cool(link2));
    QTest::mouseMove(link1, QPoint(3, 3));
    QTest::mouseMove(screen, QPoint(200, 290));
    EXPECT_TRUE(cool(link1));
    EXPECT_EQ(link1->cursor().shape(), Qt::ArrowCursor);
}
