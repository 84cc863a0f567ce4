#include <gtest/gtest.h>

#include <set>

#include "BankCheck.h"
#include "fakes/BankFixture.h"
#include "BankSource.h"

using namespace wd;
using wd::test::BankFixture;

namespace {
std::multiset<QString> Lines(const std::filesystem::path& file)
{
    std::multiset<QString> out;
    for (const auto& p : bank::CheckBank(file)) out.insert(bank::Format(p));
    return out;
}
} // namespace

TEST(WendingBank, CheckNamesEveryProblemWithItsTableAndId)
{
    BankFixture f;
    EXPECT_TRUE(Lines(f.File()).empty()) << "a complete file is clean";
    f.Sql("delete from question where id=17;"
          "update question set answer='Abc' where id=3;"
          "update question set answer='2008年' where id=4;"
          "update question set quest='  ' where id=5;"
          "update easy set played=7 where id=2;"
          "insert into easy (id, played, quest, answer, providers) values (34, 0, 'q', 'a', 'p');");
    EXPECT_EQ(Lines(f.File()), (std::multiset<QString>{
                                   QStringLiteral("question 17: id is missing"),
                                   QStringLiteral("question 3: answer \"Abc\" has an uppercase letter (answers use lowercase)"),
                                   QStringLiteral("question 4: answer \"2008年\" has a number followed by a unit (numbers go without units)"),
                                   QStringLiteral("question 5: quest is empty"),
                                   QStringLiteral("easy 2: played is 7, not 0 or 1"),
                                   QStringLiteral("easy 34: id outside 1..33"),
                               }));
}

TEST(WendingBank, CheckFindsMissingTablesFieldsAndForeignFiles)
{
    BankFixture f;
    f.Sql("drop table easy; alter table question drop column played;");
    const auto lines = Lines(f.File());
    EXPECT_EQ(lines.count(QStringLiteral("easy: table is missing")), 1u);
    EXPECT_EQ(lines.count(QStringLiteral("question: field played is missing")), 1u);

    std::FILE* out = std::fopen(f.File().c_str(), "wb");
    std::fputs("not a question file at all, but long enough to have a header of sorts", out);
    std::fclose(out);
    const auto foreign = Lines(f.File());
    ASSERT_EQ(foreign.size(), 1u);
    EXPECT_TRUE(foreign.begin()->startsWith(QStringLiteral("cannot open as a question file")));
}

TEST(WendingBank, AnswerRulesFlagUnitsButNotNamesWithDigits)
{
    for (const char* ok : {"2008", "mp3", "f4", "第3", "a1b", "1.5", "七"})
        EXPECT_TRUE(bank::AnswerRuleProblems(QString::fromUtf8(ok)).empty()) << ok;
    for (const char* bad : {"3张", "5 首", "170cm", "12岁", "ＡＢ", "2万"})
        EXPECT_FALSE(bank::AnswerRuleProblems(QString::fromUtf8(bad)).empty()) << bad;
}

TEST(WendingBank, SourceLinesThatCannotBeReadAreNamed)
{
    const auto src = bank::ParseSource(QStringLiteral("# c\n1\tq\ta\tp\n[question]\n\n2\tq\ta\n[other]\nx\tq\ta\tp\n"));
    ASSERT_EQ(src.errors.size(), 4u);
    EXPECT_TRUE(src.errors[0].startsWith(QStringLiteral("line 2:")));
    EXPECT_TRUE(src.errors[1].startsWith(QStringLiteral("line 5:")));
    EXPECT_TRUE(src.errors[2].startsWith(QStringLiteral("line 6:")));
    EXPECT_TRUE(src.errors[3].startsWith(QStringLiteral("line 7:")));
    EXPECT_TRUE(src.rows.empty());
}
