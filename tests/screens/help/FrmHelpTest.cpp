#include <gtest/gtest.h>

#include <QImage>
#include <QTest>

#include "fakes/ScreenRig.h"
#include "screens/help/FrmHelp.h"

using namespace wd;
using namespace wd::test;

namespace {

class Help : public ::testing::Test {
protected:
    void SetUp() override
    {
        rig.screens.Register<FrmHelp>();
        rig.screens.Show(FrmHelp::kId);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&help()));
    }
    FrmHelp& help() { return rig.screens.Get<FrmHelp>(); }
    const ControlSet& c() { return help().controls(); }
    bool OnExamples() { return c().Get<Label>("LblTime", 10)->isVisible(); }

    ScreenRig rig;
};

} // namespace

TEST_F(Help, OpensOnTheRulesPageAndTheToggleSwitchesPagesByMouseEnterAndSpace)
{
    EXPECT_FALSE(OnExamples());
    EXPECT_EQ(c().Get<Button>("Command2")->text(), QStringLiteral("例如"));
    EXPECT_EQ(help().focusWidget(), c().Get<Button>("Command2"));
    EXPECT_EQ(help().size(), QSize(629, 516));
    EXPECT_TRUE(help().windowTitle().startsWith(QStringLiteral("问鼎五关(Kessa Version)--教你玩 ")));

    QTest::mouseClick(c().Get<Button>("Command2"), Qt::LeftButton);
    EXPECT_TRUE(OnExamples());
    EXPECT_EQ(c().Get<Button>("Command2")->text(), QStringLiteral("看完"));
    help().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&help()));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(OnExamples());
    EXPECT_EQ(c().Get<Button>("Command2")->text(), QStringLiteral("例如"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_TRUE(OnExamples());

    help().close(); // on the examples: the next opening shows the rules again
    EXPECT_EQ(rig.screens.State(FrmHelp::kId), ScreenState::NotLoaded);
    rig.screens.Show(FrmHelp::kId);
    EXPECT_FALSE(OnExamples());
    QTest::mouseClick(c().Get<Button>("Command1"), Qt::LeftButton); // 退出
    EXPECT_EQ(rig.screens.State(FrmHelp::kId), ScreenState::NotLoaded);
}

TEST_F(Help, PagesHoldTheParagraphsJoinedByCarriageReturns)
{
    const QStringList rules = c().Get<Label>("LblTime", 6)->Caption().split(QLatin1Char('\r'));
    ASSERT_EQ(rules.size(), 8);
    EXPECT_TRUE(rules[2].isEmpty());
    EXPECT_TRUE(rules[6].isEmpty());
    EXPECT_TRUE(rules[0].startsWith(QStringLiteral("本游戏所有题目均为填空题,")));
    EXPECT_TRUE(rules[0].endsWith(QStringLiteral("分数肯定是你的\u3000")));
    EXPECT_EQ(rules[1], QStringLiteral("只要你一旦答错题目\u3000你将带著你暂时获得的分数进入爆煲游戏"));
    EXPECT_TRUE(rules[4].contains(QStringLiteral("来不及按'Stop'按钮的话")));
    EXPECT_TRUE(rules[7].endsWith(QStringLiteral("连接Internet.")));

    const QStringList examples = c().Get<Label>("LblTime", 10)->Caption().split(QLatin1Char('\r'));
    ASSERT_EQ(examples.size(), 7);
    EXPECT_EQ(examples[5], QStringLiteral("要特别注意的是:"));
    EXPECT_TRUE(examples[3].contains(QStringLiteral("就出现'爆'字\u3000这样")));
    for (const QString& page : {FrmHelp::RulesPage(), FrmHelp::ExamplesPage()}) {
        EXPECT_FALSE(page.contains(QLatin1Char('\n')));
        for (QChar wide : {QChar(0xFF0C), QChar(0xFF1A), QChar(0xFF08), QChar(0x3002), QChar(0x2018)})
            EXPECT_FALSE(page.contains(wide)) << "full-width punctuation U+" << std::hex << static_cast<int>(wide.unicode());
    }
}

TEST_F(Help, BoardMarksTheQuestionsOfEachLevel)
{
    const int rowsOf[5][5] = {{15, 16, 17, 18, 19}, {5, 6, 7, 8, 9}, {0, 1, 2, 3, 4}, {10, 11, 12, 13, 14}, {20, 21, 22, 23, 24}};
    for (int level = 1; level <= 5; ++level) {
        QString row;
        for (int slot = 0; slot < 5; ++slot) row += c().Get<Label>("Lblque", rowsOf[level - 1][slot])->Caption();
        EXPECT_EQ(row, QString(level, QLatin1Char('V'))) << level;
        EXPECT_EQ(c().Get<Label>("Lblque", 24 + level)->Caption(), QStringLiteral("第%1关").arg(level));
    }
    EXPECT_EQ(c().Get<Label>("LblTime", 1)->Caption(), QStringLiteral("有4个Pass机会,\u3000要答对1道题就可以过关,可得5000分"));
}

TEST_F(Help, ControlsSitWhereTheTableSaysInAGrabAndPagesNeitherScrollNorGrow)
{
    c().Get<Label>("LblTime", 6)->SetCaption(FrmHelp::RulesPage().repeated(3));
    const QImage img = help().grab().toImage();
    ASSERT_EQ(img.size(), QSize(629, 516));
    // Left or top edge of a box: the colour starts at `at` (within one pixel) and not before.
    auto edge = [&](QPoint at, QPoint step, QRgb colour) {
        const QPoint before = at - step - step;
        return (img.pixel(at) == colour || img.pixel(at + step) == colour) && img.pixel(before) != colour;
    };
    const QRgb boxBlue = qRgb(0, 0, 0xC0), green = qRgb(0, 0x80, 0), navy = qRgb(0, 0, 0x80), red = qRgb(0xFF, 0, 0);
    // Lblque(16), empty: Frame1 (4, -3) + Frame3(2) (54, 8) + (31, 12) = (89, 17), 18 x 20.
    EXPECT_TRUE(edge({89, 25}, {1, 0}, boxBlue));
    EXPECT_TRUE(edge({95, 17}, {0, 1}, boxBlue));
    EXPECT_TRUE(edge({106, 25}, {-1, 0}, boxBlue)); // right edge at 89 + 18 - 1
    // LblEasy(2): Frame1 (4, -3) + Frame2 (53, 181) + (52, 11) = (109, 189).
    EXPECT_TRUE(edge({109, 195}, {1, 0}, boxBlue));
    // LblTime(11), red: Frame1 (4, -3) + (8, 234) = (12, 231).
    EXPECT_TRUE(edge({12, 235}, {1, 0}, red));
    EXPECT_TRUE(edge({100, 231}, {0, 1}, red));
    // The rules page: green from (6, 255) on the dark grey window.
    EXPECT_TRUE(edge({6, 400}, {1, 0}, green));
    EXPECT_TRUE(edge({300, 255}, {0, 1}, green));

    help().Command2_Click();
    const QImage withExamples = help().grab().toImage();
    EXPECT_EQ(withExamples.pixel(5, 470), navy);
    EXPECT_EQ(withExamples.pixel(5, 253), navy);
    EXPECT_NE(withExamples.pixel(4, 470), navy);
    EXPECT_EQ(c().Get<Label>("LblTime", 6)->geometry(), QRect(6, 255, 619, 256));
    EXPECT_EQ(c().Get<Label>("LblTime", 10)->geometry(), QRect(5, 253, 620, 256));
    for (const char* name : {"Command1", "Command2"}) {
        QWidget* b = c().Get<Button>(name);
        EXPECT_EQ(help().childAt(b->geometry().center()), b) << name;
    }
}
