#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "platform/Database.h"

using namespace wd;

namespace {
struct TempDb {
    TempDb()
    {
        path = dir.filePath(QStringLiteral("t.db")).toStdString();
        FILE* f = std::fopen(path.c_str(), "wb"); // an empty file is a valid, empty database
        std::fclose(f);
    }
    QTemporaryDir dir;
    std::filesystem::path path;
};
} // namespace

TEST(Database, AQueryKnowsItsExactRowCountAndReadsFieldsByName)
{
    TempDb t;
    Connection c;
    ASSERT_TRUE(c.Open(t.path));
    EXPECT_FALSE(c.InMemoryCopy());
    ASSERT_TRUE(c.Execute("create table q (id integer, quest text, note text)"));
    ASSERT_TRUE(c.Execute("insert into q values (1, '第一题', null), (2, 'two', 'x'), (3, 'three', 'y')"));

    auto rs = c.Query("select * from q where id<>2 order by id");
    ASSERT_TRUE(rs);
    EXPECT_EQ(rs->RecordCount(), 2);
    EXPECT_EQ(rs->Field("quest"), QStringLiteral("第一题"));
    EXPECT_EQ(rs->Field("id"), QStringLiteral("1"));
    EXPECT_FALSE(rs->Field("note")) << "NULL is no text";
    EXPECT_FALSE(rs->Field("nope"));
    rs->MoveNext();
    EXPECT_EQ(rs->Field("note"), QStringLiteral("y"));
    rs->MoveNext();
    EXPECT_TRUE(rs->Eof());
    EXPECT_FALSE(rs->Field("quest"));
}

TEST(Database, FailuresAreReportedNotHiddenAndTheTraceSeesAllButTheProgramsOwnLooks)
{
    TempDb t;
    Connection c;
    std::vector<std::string> seen;
    c.SetTrace([&](std::string_view s) { seen.emplace_back(s); });
    EXPECT_FALSE(c.Execute("select 1")) << "not open yet";
    EXPECT_FALSE(c.Open(t.dir.filePath(QStringLiteral("missing.db")).toStdString()));
    EXPECT_FALSE(std::filesystem::exists(t.dir.filePath(QStringLiteral("missing.db")).toStdString()))
        << "opening never creates a file";
    ASSERT_TRUE(c.Open(t.path));
    EXPECT_FALSE(c.Execute("update nothing set x=1"));
    EXPECT_FALSE(c.LastError().empty());
    EXPECT_FALSE(c.Query("select * from nothing"));
    c.Query("select count(*) from sqlite_master", /*traced=*/false);
    EXPECT_EQ(seen, (std::vector<std::string>{"select 1", "update nothing set x=1", "select * from nothing"}));
    c.Close();
    EXPECT_FALSE(c.IsOpen());
    EXPECT_FALSE(c.Query("select 1"));
}

