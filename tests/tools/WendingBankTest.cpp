#include <gtest/gtest.h>

#include <functional>
#include <set>

#include <QDir>
#include <QFile>
#include <QProcess>

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

// The tool itself on sources that cannot be stored as they stand: each line of
// the generated source is question N on line N + 1.
TEST(WendingBank, BuildRefusesWhatItCannotStoreFaithfullyNamingFileAndLineAndWritesNothing)
{
    const auto replace = [](int line, QByteArray text) {
        return [line, text](QList<QByteArray>& lines) { lines[line - 1] = text; };
    };
    const struct {
        std::function<void(QList<QByteArray>&)> edit;
        const char* message; // a line of the tool's errors, after "SOURCE:"
    } cases[] = {
        {[](QList<QByteArray>&) {}, nullptr},
        {replace(3, "2\tquestion \xff\xfe 2\ta2\tfan2"), "3: is not valid UTF-8"},
        {replace(4, QByteArray("3\tquestion 3\ta3\tfan3").insert(10, '\0')), "4: holds a NUL byte"},
        {replace(6, "1\tquestion 5 ____\ta5\tfan5"), "6: id 1 of [question] is already on line 2"},
        {[](QList<QByteArray>& lines) { lines.removeAt(17); }, "1: question 17: id is missing"},
        {replace(5, "4\tquestion 4\tA4\tfan4"), "5: question 4: answer \"A4\" has an uppercase letter (answers use lowercase)"},
        {replace(163, "2\t" + QString(60, u'长').toUtf8() + "\te2\tp"), "163: easy 2: quest is too long to show whole in the question box"},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        const QString source = dir.filePath(QStringLiteral("src.txt")), out = dir.filePath(QStringLiteral("wending.bin"));
        QList<QByteArray> lines = test::GeneratedSource().toUtf8().split('\n');
        c.edit(lines);
        QFile file(source);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(lines.join('\n'));
        file.close();

        QProcess tool;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path()); // no word from Qt about a missing one
        tool.setProcessEnvironment(env);
        tool.start(QStringLiteral(WD_BANK_TOOL), {QStringLiteral("build"), source, out});
        ASSERT_TRUE(tool.waitForFinished(60000));
        const QStringList errors = QString::fromUtf8(tool.readAllStandardError()).split(u'\n', Qt::SkipEmptyParts);
        if (!c.message) {
            EXPECT_EQ(tool.exitCode(), 0) << errors.join(u'\n').toStdString();
            EXPECT_TRUE(Lines(out.toStdString()).empty());
            continue;
        }
        EXPECT_EQ(tool.exitCode(), 1) << c.message;
        EXPECT_TRUE(errors.contains(source + QStringLiteral(":") + QString::fromUtf8(c.message)))
            << errors.join(u'\n').toStdString();
        for (const QString& e : errors) EXPECT_TRUE(e.startsWith(source + QStringLiteral(":"))) << e.toStdString();
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("src.txt")}) << c.message;
    }
}
