// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "game/QuestionBank.h"

#include <string>
#include <vector>

#include <QStringList>

#include "game/Module1.h"
#include "game/Rules.h"
#include "platform/Logging.h"
#include "platform/Random.h"

namespace wd {

namespace {
std::string Sql(const char* head, int id, const char* tail = "")
{
    return std::string(head) + std::to_string(id) + tail;
}

// Ids as the player reads them: "17, 20-25", the first few runs only.
QString IdList(const std::vector<int>& ids)
{
    constexpr int kRunsShown = 8;
    QStringList runs;
    for (std::size_t i = 0; i < ids.size();) {
        std::size_t j = i;
        while (j + 1 < ids.size() && ids[j + 1] == ids[j] + 1) ++j;
        if (runs.size() == kRunsShown) {
            runs << QStringLiteral("…");
            break;
        }
        runs << (i == j ? QString::number(ids[i]) : QStringLiteral("%1-%2").arg(ids[i]).arg(ids[j]));
        i = j + 1;
    }
    return runs.join(QStringLiteral(", "));
}
} // namespace

QuestionBank::QuestionBank(Module1& session, RandomSource& random, std::filesystem::path file,
                           Connection::Access access)
    : session_(session), random_(random), file_(std::move(file)), access_(access)
{
}

void QuestionBank::OpenDatabase()
{
    db_.Close();
    contentError_.clear();
    if (!db_.Open(file_, access_)) {
        problem_ = FailureKind();
        return;
    }
    // Only a file fit to play from is written to.
    problem_ = CheckContent();
    if (problem_ != Problem::None) return;
    for (const char* sql : {"update question set played=0", "update easy set played=0"}) {
        if (!db_.Execute(sql)) {
            problem_ = FailureKind();
            return;
        }
    }
    // From now on a statement waits for a second copy of the game to finish its draw.
    db_.SetBusyTimeout(Connection::kBusyTimeoutMs);
}

QuestionBank::Problem QuestionBank::FailureKind() const
{
    std::error_code ec;
    if (!std::filesystem::exists(file_, ec)) return Problem::Missing;
    return db_.LastFailure() == Connection::Failure::Busy ? Problem::InUse : Problem::Unreadable;
}

QuestionBank::Problem QuestionBank::CheckContent()
{
    // Every id a draw can pick must have exactly one row, with every field the
    // draws read: a second row of an id would be marked along with the first.
    struct Table { const char* name; int highest; };
    QStringList wrong;
    for (const Table t : {Table{"question", rules::kQuestionCount}, Table{"easy", rules::kEasyCount}}) {
        const QString name = QString::fromLatin1(t.name);
        const std::string sql = std::string("select id, count(*) as n, min(played is not null and quest is not null"
                                            " and answer is not null and providers is not null) as whole from ") +
                                t.name + " where id>=1 and id<=" + std::to_string(t.highest) + " group by id";
        auto rs = db_.Query(sql, /*traced=*/false);
        if (!rs) {
            if (db_.LastFailure() == Connection::Failure::Busy) return Problem::InUse;
            if (db_.LastFailure() == Connection::Failure::Damaged) return Problem::Unreadable;
            wrong << QStringLiteral("表 %1 不存在或缺少字段").arg(name);
            continue;
        }
        std::vector<int> rows(static_cast<std::size_t>(t.highest) + 1, 0);
        std::vector<int> missing, incomplete, doubled;
        for (; !rs->Eof(); rs->MoveNext()) {
            bool whole = false;
            const int id = rs->Field("id").value_or(QString()).toInt(&whole);
            if (!whole || id < 1 || id > t.highest) continue; // an id no draw picks
            rows[static_cast<std::size_t>(id)] = rs->Field("n").value_or(QString()).toInt();
            if (rs->Field("whole") != QStringLiteral("1")) incomplete.push_back(id);
        }
        for (int id = 1; id <= t.highest; ++id) {
            if (rows[static_cast<std::size_t>(id)] == 0) missing.push_back(id);
            if (rows[static_cast<std::size_t>(id)] > 1) doubled.push_back(id);
        }
        if (!missing.empty()) wrong << QStringLiteral("表 %1 缺少第 %2 题").arg(name, IdList(missing));
        if (!incomplete.empty()) wrong << QStringLiteral("表 %1 第 %2 题的内容不全").arg(name, IdList(incomplete));
        if (!doubled.empty()) wrong << QStringLiteral("表 %1 第 %2 题不止一行").arg(name, IdList(doubled));
    }
    contentError_ = wrong.join(QStringLiteral("；"));
    return wrong.isEmpty() ? Problem::None : Problem::WrongContent;
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

QString QuestionBank::Reason() const
{
    switch (problem_) {
    case Problem::None: return {};
    case Problem::Missing: return QStringLiteral("找不到题库文件 wending.bin。");
    case Problem::InUse: return QStringLiteral("题库文件 wending.bin 正被另一个程序使用。");
    case Problem::Unreadable: return QStringLiteral("题库文件 wending.bin 不是题库文件，或者已经损坏。");
    case Problem::WrongContent:
        return QStringLiteral("题库文件 wending.bin 里的题目不全或格式不对：%1。").arg(contentError_);
    }
    return {};
}

QString QuestionBank::ProblemText() const
{
    if (problem_ == Problem::None) return {};
    const QString what = problem_ == Problem::InUse
                             ? QStringLiteral("请关掉那个程序，再按“开始接受考验”。")
                             : QStringLiteral("无法开始游戏。");
    return Reason() + what + QStringLiteral("\r文件位置：") + QString::fromStdString(file_.string());
}

QString QuestionBank::DrawFailureText() const
{
    return QStringLiteral("出题时题库文件出了问题，这一局到此结束。\r") + Reason() + QStringLiteral("\r文件位置：") +
           QString::fromStdString(file_.string());
}

std::optional<QuestionRecord> QuestionBank::Fail(const QString& why)
{
    drawError_ = why;
    problem_ = FailureKind();
    qCWarning(lcBank, "%s: no question drawn: %s", file_.c_str(), qUtf8Printable(why));
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
    auto played = db_.Query("select * from " + t + " where played=1");
    if (!played) return Fail(QString::fromStdString(db_.LastError()));
    if (played->RecordCount() == highestId - keepUnplayed && !db_.Execute("update " + t + " set played=0"))
        return Fail(QString::fromStdString(db_.LastError()));
    played->Close();

    // 2. Draw ids until an unplayed row comes up.
    for (int tries = 0; tries < kMaxTries; ++tries) {
        const int id = RandomId(random_.Next(), highestId);
        auto rs = db_.Query("select * from " + t + " where id=" + std::to_string(id) + " and played=0");
        if (!rs) return Fail(QString::fromStdString(db_.LastError()));
        if (rs->RecordCount() < 1) continue;

        // 3.-4. Read the row and close the result.
        auto q = ReadRow(*rs, id);
        if (!q) return q;
        // 5. Mark it played; only a row that is marked is taken.
        if (!db_.Execute("update " + t + " set played=1 where id=" + std::to_string(id)))
            return Fail(QString::fromStdString(db_.LastError()));
        Accept(*q, setProvider);
        return q;
    }
    return Fail(QStringLiteral("no unplayed row of %1 after %2 tries").arg(QString::fromStdString(t)).arg(kMaxTries));
}

} // namespace wd
