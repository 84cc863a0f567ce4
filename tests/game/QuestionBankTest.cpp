// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <thread>

#include <QElapsedTimer>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "fakes/BankFixture.h"
#include "fakes/Servers.h"
#include "fakes/ScriptedRandom.h"
#include "game/Module1.h"
#include "game/QuestionBank.h"

using namespace wd;
using namespace wd::test;

namespace {

struct Bank {
    explicit Bank(const std::filesystem::path& file) : bank(session, random, file) { bank.OpenQuestionBank(); }
    std::optional<QuestionRecord> Next(int id) { random.Push(RFor(id, 159)); return bank.DrawNextQuestion(); }
    std::optional<QuestionRecord> Easy(int id) { random.Push(RFor(id, 33)); return bank.DrawEasyQuestion(); }
    Module1 session;
    ScriptedRandom random;
    QuestionBank bank;
};

// A file with the marks a last run left, opened, then drawn from: the first
// question (42), 42 again as the next one (the first is not marked: it may come
// again), 8 after another try at 42, played by now, and easy 33.
struct OpenedBank : ::testing::Test {
    OpenedBank()
    {
        b.session.ProviderName = QStringLiteral("from the last game");
        b.random.Push(RFor(42, 159));
        b.bank.DrawFirstQuestion();
        providers << b.session.ProviderName;
        b.Next(42);
        providers << b.session.ProviderName;
        b.random.Push(RFor(42, 159));
        b.Next(8);
        providers << b.session.ProviderName;
        b.Easy(33);
        providers << b.session.ProviderName;
    }
    BankFixture f{"update question set played=1 where id<100; update easy set played=1"};
    Bank b{f.File()};
    QStringList providers; // after each draw
};

} // namespace

// Marks written through a log that no crash or power loss can tear.
TEST_F(OpenedBank, TheMarksAreWrittenThroughAWriteAheadLog)
{
    EXPECT_EQ(b.bank.DbConnection().Query("pragma journal_mode", false)->Field("journal_mode"), QStringLiteral("wal"));
    EXPECT_EQ(b.bank.DbConnection().Query("pragma synchronous", false)->Field("synchronous"), QStringLiteral("1"));
}

TEST_F(OpenedBank, OnlyTheFirstDrawOfAGameReseeds) { EXPECT_EQ(b.random.reseeds, 1); }

// The provider of a missed question comes from here: ProviderName has the
// next and easy draws for its only writers.
TEST_F(OpenedBank, OnlyTheNextAndEasyDrawsSetTheProvider)
{
    EXPECT_EQ(providers, QStringList({"from the last game", "fan0", "fan1", "easyfan0"}));
}

// A refusal never waits longer than a frame, tells a busy file from a damaged
// one, names the table and ids of wrong content, and writes nothing.
TEST(QuestionBank, OpeningRefusesAnUnusableFileSayingWhatIsWrong)
{
    using P = QuestionBank::Problem;
    const struct { std::string spoil; P kind; const char* says; } cases[] = { // spoil: SQL, or what another program does
        {"remove", P::Missing, "找不到题库文件"},
        {"lock", P::InUse, "正被另一个程序使用"},
        {"junk", P::Unreadable, "不是题库文件"},
        {"create table q as select * from question; insert into q select * from question where id=5;"
         "drop table question; alter table q rename to question",
         P::WrongContent, "表 question 第 5 题不止一行"},
        {"delete from question where id between 77 and 79; delete from question where id=90", P::WrongContent,
         "表 question 缺少第 77-79, 90 题"},
        {"create table e as select * from easy; update e set answer=null where id=2; drop table easy;"
         "alter table e rename to easy",
         P::WrongContent, "表 easy 第 2 题的内容不全"},
        {"alter table question rename column providers to author", P::WrongContent, "表 question 不存在或缺少字段"},
    };
    for (const auto& c : cases) {
        BankFixture f;
        std::optional<HeldLock> lock; // a second connection, holding the file
        if (c.spoil == "remove") std::filesystem::remove(f.File());
        else if (c.spoil == "lock") lock.emplace(f.File(), "begin exclusive");
        else if (c.spoil == "junk") std::ofstream(f.File()) << std::string(100, 'x');
        else f.Sql(c.spoil);
        const QString path = QString::fromStdString(f.File().string());
        const QByteArray before = ReadFile(path);
        QElapsedTimer clock;
        clock.start();
        Bank b(f.File());
        EXPECT_LT(clock.elapsed(), Connection::kBusyTimeoutMs) << c.says;
        EXPECT_EQ(b.bank.ProblemKind(), c.kind) << c.says;
        const QString text = b.bank.ProblemText();
        EXPECT_TRUE(text.contains(QString::fromUtf8(c.says)) && text.contains(path)) << text.toStdString();
        EXPECT_EQ(b.session.QuestionCount, 159) << "the open goes on past a failing step";
        EXPECT_EQ(ReadFile(path), before) << c.says;
    }
}

TEST(QuestionBank, ASecondCopyDrawingIsWaitedFor)
{
    BankFixture f;
    Bank b(f.File());
    std::optional<HeldLock> lock(f.File()); // another copy of the game, drawing
    std::thread release([&lock] { std::this_thread::sleep_for(std::chrono::milliseconds(300)); lock.reset(); });
    const auto q = b.Next(20);
    release.join();
    ASSERT_TRUE(q);
    EXPECT_EQ(f.Number("select played from question where id=20"), 1);
}

// The game installed into a folder the player cannot write: it plays normally
// and keeps the marks for the run in memory; the modes leave the file as it is.
TEST(QuestionBank, AReadOnlyFilePlaysWithMarksInMemory)
{
    BankFixture f{"pragma journal_mode=wal; update question set played=1 where id<=5"}; // left by a writable copy
    ASSERT_EQ(::chmod(f.File().c_str(), 0444) + ::chmod(f.Folder().c_str(), 0555), 0);
    const pid_t child = ::fork(); // root may write anything, so the check runs as nobody then
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::getuid() == 0 && ::setresgid(65534, 65534, 65534) + ::setresuid(65534, 65534, 65534) != 0) ::_exit(10);
        Bank b(f.File());
        if (!b.bank.Usable() || !b.bank.DbConnection().InMemoryCopy()) ::_exit(11);
        for (int id = 1; id <= 149; ++id) // marks cleared at the start, kept after each draw
            if (const auto q = b.Next(id); !q || q->id != id) ::_exit(12);
        ::_exit(b.Next(1) ? 0 : 13); // the 150th draw clears them
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ::chmod(f.Folder().c_str(), 0755);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}
