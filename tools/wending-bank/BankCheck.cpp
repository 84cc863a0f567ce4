// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "BankCheck.h"

#include <map>
#include <set>

#include <QRegularExpression>

#include "game/Rules.h"
#include "platform/Database.h"
#include "ui/QuestionBox.h"

namespace wd::bank {

namespace {

const char* const kFields[] = {"id", "played", "quest", "answer", "providers"};

bool IsDigit(QChar c) { return (c >= u'0' && c <= u'9') || (c >= u'０' && c <= u'９'); }

void CheckTable(Connection& db, const QString& table, int highest, std::vector<Problem>& out)
{
    auto cols = db.Query("pragma table_info(" + table.toStdString() + ")", false);
    if (!cols || cols->RecordCount() == 0) {
        out.push_back({table, 0, QStringLiteral("table is missing")});
        return;
    }
    std::set<QString> have;
    for (; !cols->Eof(); cols->MoveNext()) have.insert(cols->Field("name").value_or(QString()));
    bool complete = true;
    for (const char* f : kFields) {
        if (!have.count(QString::fromLatin1(f))) {
            out.push_back({table, 0, QStringLiteral("field %1 is missing").arg(QString::fromLatin1(f))});
            complete = false;
        }
    }
    if (!complete) return;

    auto rows = db.Query("select id, played, quest, answer, providers from " + table.toStdString() + " order by id", false);
    if (!rows) {
        out.push_back({table, 0, QStringLiteral("cannot be read")});
        return;
    }
    std::map<long long, int> seen;
    for (; !rows->Eof(); rows->MoveNext()) {
        bool ok = false;
        const long long id = rows->Field("id").value_or(QString()).toLongLong(&ok);
        if (!ok) {
            out.push_back({table, 0, QStringLiteral("a row has an id that is not a whole number")});
            continue;
        }
        if (++seen[id] == 2) out.push_back({table, id, QStringLiteral("id appears more than once")});
        if (id < 1 || id > highest)
            out.push_back({table, id, QStringLiteral("id outside 1..%1").arg(highest)});
        const QString played = rows->Field("played").value_or(QStringLiteral("null"));
        if (played != QStringLiteral("0") && played != QStringLiteral("1"))
            out.push_back({table, id, QStringLiteral("played is %1, not 0 or 1").arg(played)});
        for (const char* f : {"quest", "answer", "providers"}) {
            const auto v = rows->Field(f);
            if (!v || v->trimmed().isEmpty())
                out.push_back({table, id, QStringLiteral("%1 is empty").arg(QString::fromLatin1(f))});
        }
        if (const auto quest = rows->Field("quest"); quest && !QuestionShowsWhole(*quest))
            out.push_back({table, id, QStringLiteral("quest is too long to show whole in the question box")});
        for (const QString& p : AnswerRuleProblems(rows->Field("answer").value_or(QString())))
            out.push_back({table, id, p});
    }
    for (long long id = 1; id <= highest; ++id)
        if (!seen.count(id)) out.push_back({table, id, QStringLiteral("id is missing")});
}

} // namespace

std::vector<QString> AnswerRuleProblems(const QString& answer)
{
    std::vector<QString> problems;
    for (QChar c : answer) {
        if ((c >= u'A' && c <= u'Z') || (c >= u'Ａ' && c <= u'Ｚ')) {
            problems.push_back(QStringLiteral("answer \"%1\" has an uppercase letter (answers use lowercase)").arg(answer));
            break;
        }
    }
    // A number followed by a unit: a measure word, or a Latin unit at the end of a word.
    static const QString kMeasureWords = QStringLiteral("年月日号岁周天时分秒张首场次个位名集部本座届期米里斤克元块万亿千百倍度层");
    static const QRegularExpression kLatinUnit(
        QStringLiteral("[0-9０-９][ 　]*(cm|mm|km|kg|m|g|s|h|min|ml|kb|mb|gb)(?![a-z])"),
        QRegularExpression::CaseInsensitiveOption);
    bool unit = kLatinUnit.match(answer).hasMatch();
    for (qsizetype i = 0; !unit && i < answer.size(); ++i) {
        if (!IsDigit(answer[i])) continue;
        qsizetype j = i + 1;
        while (j < answer.size() && (answer[j] == u' ' || answer[j] == u'\u3000')) ++j;
        if (j < answer.size() && !IsDigit(answer[j]) && kMeasureWords.contains(answer[j])) unit = true;
    }
    if (unit) problems.push_back(QStringLiteral("answer \"%1\" has a number followed by a unit (numbers go without units)").arg(answer));
    return problems;
}

std::vector<Problem> CheckBank(const std::filesystem::path& file)
{
    std::vector<Problem> out;
    Connection db;
    if (!db.Open(file, Connection::Access::Copy)) {
        out.push_back({QString(), 0, QStringLiteral("cannot open as a question file: %1").arg(QString::fromStdString(db.LastError()))});
        return out;
    }
    CheckTable(db, QStringLiteral("question"), rules::kQuestionCount, out);
    CheckTable(db, QStringLiteral("easy"), rules::kEasyCount, out);
    return out;
}

QString Format(const Problem& p)
{
    if (p.table.isEmpty()) return p.text;
    if (p.id == 0) return QStringLiteral("%1: %2").arg(p.table, p.text);
    return QStringLiteral("%1 %2: %3").arg(p.table).arg(p.id).arg(p.text);
}

} // namespace wd::bank
