#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "fakes/BankFixture.h"
#include "fakes/ScriptedRandom.h"
#include "game/Module1.h"
#include "game/QuestionBank.h"
#include "platform/Random.h"

using namespace wd;
using wd::test::BankFixture;
using wd::test::HeldLock;
using wd::test::RFor;
using wd::test::ScriptedRandom;

namespace {

QByteArray Bytes(const std::filesystem::path& file)
{
    QFile f(QString::fromStdString(file.string()));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct Bank {
    explicit Bank(const std::filesystem::path& file) : bank(session, random, file)
    {
        bank.DbConnection().SetTrace([this](std::string_view sql) { sent.emplace_back(sql); });
    }
    Module1 session;
    ScriptedRandom random;
    QuestionBank bank;
    std::vector<std::string> sent;
};

} // namespace

TEST(QuestionBank, OpeningClearsEveryMarkAndDrawsSendExactlyTheirSqlAndSetTheQuestion)
{
    BankFixture f;
    f.Sql("update question set played=1 where id<100; update easy set played=1");
    Bank b(f.File());
    b.bank.OpenQuestionBank();
    EXPECT_TRUE(b.bank.Usable());
    // Marks written through a log that no crash or power loss can tear.
    EXPECT_EQ(b.bank.DbConnection().Query("pragma journal_mode", false)->Field("journal_mode"), QStringLiteral("wal"));
    EXPECT_EQ(b.bank.DbConnection().Query("pragma synchronous", false)->Field("synchronous"), QStringLiteral("1"));
    EXPECT_EQ(f.Number("select count(*) from question where played<>0"), 0);
    EXPECT_EQ(f.Number("select count(*) from easy where played<>0"), 0);
    EXPECT_EQ(b.session.QuestionCount, 159);
    EXPECT_EQ(b.session.EasyCount, 33);
    b.session.ProviderName = QStringLiteral("from the last game");

    b.random.Push(RFor(42, 159));
    auto first = b.bank.DrawFirstQuestion();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->quest, QStringLiteral("question 42 ____"));
    EXPECT_EQ(b.session.QuestionId, 42);
    EXPECT_EQ(b.session.CorrectAnswer, QStringLiteral("a42"));
    EXPECT_EQ(b.session.ProviderName, QStringLiteral("from the last game"));
    b.random.Push(RFor(42, 159)); // the first question is not marked: it may come again
    ASSERT_TRUE(b.bank.DrawNextQuestion());
    EXPECT_EQ(b.session.ProviderName, QStringLiteral("fan0"));
    b.random.Push(RFor(42, 159)); // played by now: drawn again
    b.random.Push(RFor(8, 159));
    ASSERT_TRUE(b.bank.DrawNextQuestion());
    b.random.Push(RFor(33, 33));
    ASSERT_TRUE(b.bank.DrawEasyQuestion());
    EXPECT_EQ(b.session.QuestionId, 33);
    EXPECT_EQ(b.session.CorrectAnswer, QStringLiteral("e33"));
    EXPECT_EQ(b.session.ProviderName, QStringLiteral("easyfan0"));
    EXPECT_EQ(b.random.reseeds, 1) << "only the first draw of a game reseeds";

    EXPECT_EQ(b.sent, (std::vector<std::string>{
                          "update question set played=0",
                          "update easy set played=0",
                          "select * from question where id=42",
                          "select * from question where played=1",
                          "select * from question where id=42 and played=0",
                          "update question set played=1 where id=42",
                          "select * from question where played=1",
                          "select * from question where id=42 and played=0",
                          "select * from question where id=8 and played=0",
                          "update question set played=1 where id=8",
                          "select * from easy where played=1",
                          "select * from easy where id=33 and played=0",
                          "update easy set played=1 where id=33",
                      }));
}

TEST(QuestionBank, The150thMarkedAndThe29thEasyDrawClearTheirOwnMarksFirst)
{
    BankFixture f;
    Bank b(f.File());
    b.bank.OpenQuestionBank();
    for (int id = 1; id <= 149; ++id) {
        b.random.Push(RFor(id, 159));
        ASSERT_TRUE(b.bank.DrawNextQuestion()) << id;
    }
    for (int id = 1; id <= 28; ++id) {
        b.random.Push(RFor(id, 33));
        ASSERT_TRUE(b.bank.DrawEasyQuestion()) << id;
    }
    EXPECT_EQ(f.Number("select count(*) from question where played=1"), 149);
    b.sent.clear();
    b.random.Push(RFor(3, 159)); // played before the reset, free after it
    auto q = b.bank.DrawNextQuestion();
    ASSERT_TRUE(q);
    EXPECT_EQ(q->id, 3);
    ASSERT_GE(b.sent.size(), 2u);
    EXPECT_EQ(b.sent[1], "update question set played=0");
    EXPECT_EQ(f.Number("select count(*) from question where played=1"), 1);
    EXPECT_EQ(f.Number("select played from question where id=3"), 1);
    EXPECT_EQ(f.Number("select count(*) from easy where played=1"), 28);

    b.random.Push(RFor(1, 33));
    auto easy = b.bank.DrawEasyQuestion();
    ASSERT_TRUE(easy);
    EXPECT_EQ(easy->id, 1);
    EXPECT_EQ(f.Number("select count(*) from easy where played=1"), 1);
    EXPECT_EQ(f.Number("select count(*) from question where played=1"), 1);
}

TEST(QuestionBank, ARandomGameNeverDrawsAPlayedRow)
{
    BankFixture f;
    Module1 session;
    ClockSeededRandom random;
    QuestionBank bank(session, random, f.File());
    bank.OpenQuestionBank();
    std::set<int> played;
    for (int draw = 0; draw < 400; ++draw) { // well past two resets
        if (played.size() == 149) played.clear();
        auto q = bank.DrawNextQuestion();
        ASSERT_TRUE(q);
        ASSERT_GE(q->id, 1);
        ASSERT_LE(q->id, 159);
        EXPECT_FALSE(played.count(q->id)) << "draw " << draw << " returned played id " << q->id;
        played.insert(q->id);
    }
}

// Opening never waits longer than a frame, tells a busy file from a damaged
// one, names the table and ids of wrong content, and writes nothing to a file
// it refuses.
TEST(QuestionBank, EachUnusableFileIsNamedForWhatIsWrongAtOnceAndLeftAsItWas)
{
    using P = QuestionBank::Problem;
    using Spoil = std::function<std::unique_ptr<HeldLock>(BankFixture&)>;
    const auto sql = [](const char* text) -> Spoil {
        return [text](BankFixture& f) { return f.Sql(text), nullptr; };
    };
    const struct {
        Spoil spoil;
        P kind;
        const char* says;
    } cases[] = {
        {[](BankFixture& f) { return std::filesystem::remove(f.File()), nullptr; }, P::Missing, "找不到题库文件"},
        {[](BankFixture& f) { return std::make_unique<HeldLock>(f.File(), "begin exclusive"); }, P::InUse,
         "正被另一个程序使用"},
        {[](BankFixture& f) {
             std::FILE* out = std::fopen(f.File().c_str(), "wb");
             std::fputs("this is not a database, just some text that is long enough to look like a header", out);
             std::fclose(out);
             return nullptr;
         },
         P::Unreadable, "不是题库文件"},
        {sql("create table q as select * from question; insert into q select * from question where id=5;"
             "drop table question; alter table q rename to question"),
         P::WrongContent, "表 question 第 5 题不止一行"},
        {sql("delete from question where id between 77 and 79; delete from question where id=90"), P::WrongContent,
         "表 question 缺少第 77-79, 90 题"},
        {sql("create table e as select * from easy; update e set answer=null where id=2;"
             "drop table easy; alter table e rename to easy"),
         P::WrongContent, "表 easy 第 2 题的内容不全"},
        {sql("drop table easy"), P::WrongContent, "表 easy 不存在或缺少字段"},
        {sql("alter table question rename column providers to author"), P::WrongContent, "表 question 不存在或缺少字段"},
    };
    for (const auto& c : cases) {
        BankFixture f;
        auto lock = c.spoil(f);
        const QByteArray before = Bytes(f.File());
        Bank b(f.File());
        QElapsedTimer clock;
        clock.start();
        b.bank.OpenQuestionBank();
        EXPECT_LT(clock.elapsed(), Connection::kBusyTimeoutMs) << c.says;
        EXPECT_EQ(b.bank.ProblemKind(), c.kind) << c.says;
        EXPECT_TRUE(b.bank.ProblemText().contains(QString::fromUtf8(c.says))) << b.bank.ProblemText().toStdString();
        EXPECT_TRUE(b.bank.ProblemText().contains(QString::fromStdString(f.File().string())));
        EXPECT_EQ(b.session.QuestionCount, 159) << "the open goes on past a failing step";
        EXPECT_EQ(Bytes(f.File()), before) << c.says;
        if (!lock) continue;
        lock.reset();
        b.bank.OpenDatabase(); // tried again once the other program has let go
        EXPECT_TRUE(b.bank.Usable());
    }
}

TEST(QuestionBank, ADrawThatCannotDeliverGivesUpAfterBoundedTriesAndChangesNothing)
{
    BankFixture f;
    Bank b(f.File());
    b.bank.OpenQuestionBank();
    b.random.Push(RFor(5, 159));
    ASSERT_TRUE(b.bank.DrawNextQuestion());
    const auto before = b.session.CorrectAnswer;

    f.Sql("delete from question where id=9"); // the file changes under the running game
    b.random.Push(RFor(9, 159));
    EXPECT_FALSE(b.bank.DrawFirstQuestion());
    EXPECT_FALSE(b.bank.DrawError().isEmpty());

    b.random.Push(RFor(5, 159)); // a stuck source keeps naming the played row
    b.sent.clear();
    EXPECT_FALSE(b.bank.DrawNextQuestion());
    EXPECT_TRUE(b.bank.DrawError().contains(QStringLiteral("tries")));
    EXPECT_EQ(b.sent.size(), static_cast<std::size_t>(QuestionBank::kMaxTries) + 1);

    f.Sql("drop table easy");
    EXPECT_FALSE(b.bank.DrawEasyQuestion());
    EXPECT_EQ(b.session.QuestionId, 5);
    EXPECT_EQ(b.session.CorrectAnswer, before);
}

TEST(QuestionBank, ASecondCopyOfTheGameWaitsForTheFileInsteadOfFailing)
{
    BankFixture f;
    Bank first(f.File());
    Bank second(f.File());
    first.bank.OpenQuestionBank();
    second.bank.OpenQuestionBank();

    // The other copy holds a write lock for a moment.
    sqlite3* other = nullptr;
    sqlite3_open(f.File().c_str(), &other);
    ASSERT_EQ(sqlite3_exec(other, "begin immediate; update question set played=0 where id=1", nullptr, nullptr, nullptr), SQLITE_OK);
    std::thread release([other] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        sqlite3_exec(other, "commit", nullptr, nullptr, nullptr);
    });
    second.random.Push(RFor(20, 159));
    auto q = second.bank.DrawNextQuestion();
    release.join();
    sqlite3_close(other);
    ASSERT_TRUE(q);
    EXPECT_EQ(f.Number("select played from question where id=20"), 1);
}

// The game installed into a folder the player cannot write: it plays normally,
// keeps the marks for the run and never changes the file.
TEST(QuestionBank, AReadOnlyFilePlaysWithMarksInMemory)
{
    BankFixture f;
    // Left in write-ahead-log mode by a game played from a writable copy.
    f.Sql("pragma journal_mode=wal; update question set played=1 where id<=5");
    const QByteArray before = Bytes(f.File());
    ASSERT_EQ(::chmod(f.File().c_str(), 0444), 0);
    ASSERT_EQ(::chmod(f.Folder().c_str(), 0555), 0);

    // Root may write anything, so the check runs as an unprivileged user then.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::getuid() == 0 && ::setresgid(65534, 65534, 65534) + ::setresuid(65534, 65534, 65534) != 0) ::_exit(10);
        Module1 session;
        ScriptedRandom random;
        QuestionBank bank(session, random, f.File());
        bank.OpenQuestionBank();
        if (!bank.Usable() || !bank.DbConnection().InMemoryCopy()) ::_exit(11);
        for (int id = 1; id <= 149; ++id) {
            random.Push(RFor(id, 159));
            auto q = bank.DrawNextQuestion();
            if (!q || q->id != id) ::_exit(12); // marks cleared at the start, kept after each draw
        }
        random.Push(RFor(1, 159));
        if (!bank.DrawNextQuestion()) ::_exit(13);
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ::chmod(f.Folder().c_str(), 0755);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);

    EXPECT_EQ(Bytes(f.File()), before) << "the file is never changed";
    EXPECT_EQ(QDir(QString::fromStdString(f.Folder().string())).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("wending.bin")});
}
