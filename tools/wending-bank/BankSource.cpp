// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "BankSource.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringList>
#include <sqlite3.h>

namespace wd::bank {

QString Source::Where(const QString& table, long long id) const
{
    int line = lines;
    if (const auto s = sections.find(table); s != sections.end()) line = s->second;
    for (const SourceRow& r : rows)
        if (r.table == table && r.id == id) line = r.line;
    return QStringLiteral("%1:%2").arg(file).arg(line);
}

Source ParseSource(const QByteArray& bytes, const QString& file)
{
    Source src;
    src.file = file;
    QString table;
    std::map<std::pair<QString, long long>, int> seen; // (table, id) -> line
    const QList<QByteArray> lines = bytes.split('\n');
    src.lines = static_cast<int>(lines.size()) - (bytes.endsWith('\n') ? 1 : 0);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int number = static_cast<int>(i + 1);
        const auto error = [&](const QString& text) {
            src.errors.push_back(QStringLiteral("%1:%2: %3").arg(file).arg(number).arg(text));
        };
        QByteArray raw = lines[i];
        if (raw.endsWith('\r')) raw.chop(1);
        if (raw.contains('\0')) {
            error(QStringLiteral("holds a NUL byte"));
            continue;
        }
        // The first line may begin with a byte order mark; any other is kept as text.
        QStringConverter::Flags flags = QStringConverter::Flag::Stateless;
        if (i > 0) flags |= QStringConverter::Flag::ConvertInitialBom;
        QStringDecoder utf8(QStringConverter::Utf8, flags);
        const QString line = utf8(raw);
        if (utf8.hasError()) {
            error(QStringLiteral("is not valid UTF-8"));
            continue;
        }
        if (line.trimmed().isEmpty() || line.startsWith(QChar(u'#'))) continue;
        if (line.startsWith(QChar(u'['))) {
            table = line.trimmed().mid(1).chopped(1);
            if (table != QStringLiteral("question") && table != QStringLiteral("easy")) {
                error(QStringLiteral("unknown table [%1]").arg(table));
                table.clear();
            } else {
                src.sections.emplace(table, number);
            }
            continue;
        }
        if (table.isEmpty()) {
            error(QStringLiteral("row outside [question] or [easy]"));
            continue;
        }
        const QStringList f = line.split(QChar(u'\t'));
        bool ok = false;
        const long long id = f.value(0).toLongLong(&ok);
        if (f.size() != 4 || !ok) {
            error(QStringLiteral("expected id, question, answer, provider separated by tabs"));
            continue;
        }
        if (const auto [at, fresh] = seen.emplace(std::pair(table, id), number); !fresh) {
            error(QStringLiteral("id %1 of [%2] is already on line %3").arg(id).arg(table).arg(at->second));
            continue;
        }
        src.rows.push_back(SourceRow{table, number, id, f[1], f[2], f[3]});
    }
    return src;
}

bool ReadSource(const std::filesystem::path& file, Source& out, QString& error)
{
    QFile f(QString::fromStdString(file.string()));
    if (!f.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot read %1").arg(f.fileName());
        return false;
    }
    out = ParseSource(f.readAll(), f.fileName());
    return true;
}

namespace {
struct Db {
    sqlite3* db = nullptr;
    ~Db() { sqlite3_close(db); }
};
bool Exec(sqlite3* db, const char* sql, QString& error)
{
    char* msg = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &msg) == SQLITE_OK) return true;
    error = QString::fromUtf8(msg ? msg : "sqlite error");
    sqlite3_free(msg);
    return false;
}
} // namespace

bool BuildBank(const Source& source, const std::filesystem::path& out, QString& error)
{
    std::error_code ec;
    std::filesystem::remove(out, ec);
    Db d;
    if (sqlite3_open_v2(out.c_str(), &d.db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        error = QStringLiteral("cannot create %1").arg(QString::fromStdString(out.string()));
        return false;
    }
    static const char* schema =
        "begin;"
        "create table question (id integer primary key, played integer not null default 0,"
        " quest text not null, answer text not null, providers text not null);"
        "create table easy (id integer primary key, played integer not null default 0,"
        " quest text not null, answer text not null, providers text not null);";
    if (!Exec(d.db, schema, error)) return false;
    for (const SourceRow& r : source.rows) {
        const QByteArray sql = "insert into " + r.table.toUtf8() +
                               " (id, played, quest, answer, providers) values (?, 0, ?, ?, ?)";
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(d.db, sql.constData(), -1, &st, nullptr) != SQLITE_OK) {
            error = QString::fromUtf8(sqlite3_errmsg(d.db));
            return false;
        }
        const QByteArray q = r.quest.toUtf8(), a = r.answer.toUtf8(), p = r.providers.toUtf8();
        sqlite3_bind_int64(st, 1, r.id);
        sqlite3_bind_text(st, 2, q.constData(), static_cast<int>(q.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 3, a.constData(), static_cast<int>(a.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 4, p.constData(), static_cast<int>(p.size()), SQLITE_TRANSIENT);
        const int rc = sqlite3_step(st);
        sqlite3_finalize(st);
        if (rc != SQLITE_DONE) {
            error = QStringLiteral("%1:%2: %3").arg(source.file).arg(r.line).arg(QString::fromUtf8(sqlite3_errmsg(d.db)));
            return false;
        }
    }
    return Exec(d.db, "commit;", error);
}

} // namespace wd::bank
