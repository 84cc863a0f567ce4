#include "game/QuestionBank.h"

#include <string>

#include "game/Module1.h"
#include "game/Rules.h"
#include "platform/Random.h"

namespace wd {

namespace {
std::string Sql(const char* head, int id, const char* tail = "")
{
    return std::string(head) + std::to_string(id) + tail;
}
} // namespace

QuestionBank::QuestionBank(Module1& session, RandomSource& random, std::filesystem::path file)
    : session_(session), random_(random), file_(std::move(file))
{
}

void QuestionBank::OpenDatabase()
{
    if (db_.IsOpen()) db_.Close();
    std::error_code ec;
    if (!std::filesystem::exists(file_, ec)) {
        problem_ = Problem::Missing;
        return;
    }
    if (!db_.Open(file_)) {
        problem_ = Problem::Unreadable;
        return;
    }
    db_.Execute("update question set played=0");
    db_.Execute("update easy set played=0");
    problem_ = CheckContent();
}

QuestionBank::Problem QuestionBank::CheckContent()
{
    // Both tables must hold every id the draws can pick, with the fields they read.
    struct Table { const char* name; int highest; };
    for (const Table t : {Table{"question", rules::kQuestionCount}, Table{"easy", rules::kEasyCount}}) {
        const std::string sql = std::string("select count(distinct id) as n from ") + t.name +
                                " where id>=1 and id<=" + std::to_string(t.highest) +
                                " and played is not null and quest is not null"
                                " and answer is not null and providers is not null";
        auto rs = db_.Query(sql, /*traced=*/false);
        if (!rs || rs->Field("n").value_or(QString()).toInt() != t.highest) return Problem::WrongContent;
    }
    return Problem::None;
}

void QuestionBank::FixQuestionCounts()
{
    session_.QuestionCount = rules::kQuestionCount;
    session_.EasyCount = rules::kEasyCount;
}

void QuestionBank::OpenQuestionBank()
{
    OpenDatabase();
    FixQuestionCounts();
}

void QuestionBank::CloseQuestionBank() { db_.Close(); }

QString QuestionBank::ProblemText() const
{
    const QString where = QString::fromStdString(file_.string());
    switch (problem_) {
    case Problem::None:
        return {};
    case Problem::Missing:
        return QStringLiteral("找不到题库文件 wending.bin，无法开始游戏。\r查找的位置：%1").arg(where);
    case Problem::Unreadable:
        return QStringLiteral("题库文件 wending.bin 无法读取或已经损坏，无法开始游戏。\r文件位置：%1").arg(where);
    case Problem::WrongContent:
        return QStringLiteral("题库文件 wending.bin 里的题目不全或格式不对，无法开始游戏。\r文件位置：%1").arg(where);
    }
    return {};
}

std::optional<QuestionRecord> QuestionBank::Fail(const QString& why)
{
    drawError_ = why;
    return std::nullopt;
}

std::optional<QuestionRecord> QuestionBank::ReadRow(Recordset& rs, int id)
{
    QuestionRecord q;
    q.id = static_cast<std::int16_t>(id);
    auto quest = rs.Field("quest");
    auto answer = rs.Field("answer");
    auto providers = rs.Field("providers");
    rs.Close();
    if (!quest || !answer || !providers) return Fail(QStringLiteral("row %1 lacks a field").arg(id));
    q.quest = *quest;
    q.answer = *answer;
    q.providers = *providers;
    return q;
}

void QuestionBank::Accept(const QuestionRecord& q, bool setProvider)
{
    session_.QuestionId = q.id;
    session_.CorrectAnswer = q.answer;
    if (setProvider) session_.ProviderName = q.providers;
    drawError_.clear();
}

std::optional<QuestionRecord> QuestionBank::DrawFirstQuestion()
{
    random_.Reseed(); // once per game; the game's later draws continue this sequence
    if (session_.QuestionCount < 1) return Fail(QStringLiteral("no question count"));
    const int id = RandomId(random_.Next(), session_.QuestionCount);
    auto rs = db_.Query(Sql("select * from question where id=", id));
    if (!rs) return Fail(QString::fromStdString(db_.LastError()));
    if (rs->RecordCount() < 1) return Fail(QStringLiteral("question %1 is missing").arg(id));
    auto q = ReadRow(*rs, id);
    if (q) Accept(*q, /*setProvider=*/false);
    return q;
}

std::optional<QuestionRecord> QuestionBank::DrawNextQuestion()
{
    return DrawMarked("question", session_.QuestionCount, rules::kQuestionResetLeft, true);
}

std::optional<QuestionRecord> QuestionBank::DrawEasyQuestion()
{
    return DrawMarked("easy", session_.EasyCount, rules::kEasyResetLeft, true);
}

std::optional<QuestionRecord> QuestionBank::DrawMarked(const char* table, int highestId, int keepUnplayed,
                                                       bool setProvider)
{
    const std::string t(table);
    if (highestId < 1) return Fail(QStringLiteral("no question count"));

    // 1. Clear every mark once only the last few rows are unplayed (an equality:
    //    every marked draw adds exactly one played row).
    if (auto played = db_.Query("select * from " + t + " where played=1")) {
        if (played->RecordCount() == highestId - keepUnplayed) db_.Execute("update " + t + " set played=0");
        played->Close();
    }

    // 2. Draw ids until an unplayed row comes up.
    for (int tries = 0; tries < kMaxTries; ++tries) {
        const int id = RandomId(random_.Next(), highestId);
        auto rs = db_.Query("select * from " + t + " where id=" + std::to_string(id) + " and played=0");
        if (!rs) return Fail(QString::fromStdString(db_.LastError()));
        if (rs->RecordCount() < 1) continue;

        // 3.-4. Read the row and close the result.
        auto q = ReadRow(*rs, id);
        if (!q) return q;
        Accept(*q, setProvider);
        // 5. Mark it played; a failure here leaves the row playable again.
        db_.Execute("update " + t + " set played=1 where id=" + std::to_string(id));
        return q;
    }
    return Fail(QStringLiteral("no unplayed row of %1 after %2 tries").arg(QString::fromStdString(t)).arg(kMaxTries));
}

} // namespace wd
