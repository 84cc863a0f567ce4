#include <gtest/gtest.h>

#include "PlayRig.h"
#include "fakes/AccessibleTree.h"

using namespace wd;
using namespace wd::test;

namespace {
QString NameOf(QWidget& window, const QObject* control) { return NodeOf(AccessibleNodes(window), control).name; }
} // namespace

TEST(FrmmainAccessible, AScreenReaderReadsTheQuestionProviderTimeScoreMarksAndButtons)
{
    PlayRig p;
    p.StartGame(42);
    Frmmain* q = p.quiz();
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(q);
    EXPECT_EQ(window->role(), QAccessible::Window);
    EXPECT_TRUE(window->text(QAccessible::Description).startsWith(QStringLiteral("答题")));

    const auto nodes = AccessibleNodes(*q);
    const auto question = NodeOf(nodes, q->label("Lblquestion"));
    EXPECT_EQ(question.role, QAccessible::StaticText);
    EXPECT_EQ(question.name, QStringLiteral("题目：question 42 ____"));
    EXPECT_EQ(NodeOf(nodes, q->label("LblProvider")).name, QStringLiteral("出题者：fan0"));
    EXPECT_EQ(NodeOf(nodes, q->label("LblTime")).name, QStringLiteral("剩余时间：240"));
    EXPECT_EQ(NodeOf(nodes, q->label("LblPlayscore")).name, QStringLiteral("得分：0"));
    EXPECT_EQ(NodeOf(nodes, q->label("LblPlayer")).name, QStringLiteral("玩家：glintora"));
    EXPECT_EQ(NodeOf(nodes, q->label("Lblque", 0)).name, QStringLiteral("第1题：O"));
    EXPECT_EQ(NodeOf(nodes, q->label("Lblque", 4)).name, QStringLiteral("第5题")); // an empty slot says its place
    EXPECT_EQ(NodeOf(nodes, q->frame("Framain")).name, QStringLiteral("玩家 得分 剩余时间"));
    EXPECT_EQ(NodeOf(nodes, q->frame("Frame1")).name, QStringLiteral("本关题目"));

    const auto answer = NodeOf(nodes, q->edit("Txtanswer"));
    EXPECT_EQ(answer.role, QAccessible::EditableText);
    EXPECT_EQ(answer.name, QStringLiteral("答案"));
    const auto easy = NodeOf(nodes, q->button("CmdEasy"));
    EXPECT_EQ(easy.role, QAccessible::Button);
    EXPECT_EQ(easy.name, QStringLiteral("拣手题"));
    EXPECT_EQ(NodeOf(nodes, q->button("CmdPass")).name, QStringLiteral("PASS"));
    EXPECT_EQ(NodeOf(nodes, q->button("CmdOK")).name, QStringLiteral("确定"));
    EXPECT_EQ(NodeOf(nodes, q->button("Cmdquit")).name, QStringLiteral("退出"));

    for (const AccessibleNode& node : nodes) {
        EXPECT_FALSE(node.name.isEmpty()) << node.object->objectName().toStdString();
        EXPECT_FALSE(node.name.contains(u'&')) << node.name.toStdString();
    }
}

TEST(FrmmainAccessible, TheAccessibleTextFollowsTheClockAndTheNextQuestion)
{
    PlayRig p;
    p.StartGame(42);
    Frmmain* q = p.quiz();
    p.Tick();
    EXPECT_EQ(NameOf(*q, q->label("LblTime")), QStringLiteral("剩余时间：239"));
    q->CmdPass_Click();
    EXPECT_EQ(NameOf(*q, q->label("Lblquestion")), QStringLiteral("题目：question 20 ____"));
}
