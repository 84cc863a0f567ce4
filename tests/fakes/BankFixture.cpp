// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fakes/BankFixture.h"

#include <stdexcept>

#include <sqlite3.h>

#include "BankSource.h"

namespace wd::test {

QString GeneratedSource()
{
    QString text = QStringLiteral("[question]\n");
    for (int id = 1; id <= 159; ++id)
        text += QStringLiteral("%1\tquestion %1 ____\ta%1\tfan%2\n").arg(id).arg(id % 7);
    text += QStringLiteral("[easy]\n");
    for (int id = 1; id <= 33; ++id)
        text += QStringLiteral("%1\teasy %1 ____\te%1\teasyfan%2\n").arg(id).arg(id % 3);
    return text;
}

BankFixture::BankFixture() : file_(dir_.filePath(QStringLiteral("wending.bin")).toStdString())
{
    QString error;
    if (!wd::bank::BuildBank(wd::bank::ParseSource(GeneratedSource().toUtf8(), QStringLiteral("fixture")), file_, error))
        throw std::runtime_error(error.toStdString());
}

std::vector<QStringList> BankFixture::Query(const std::filesystem::path& file, const char* sql, const QString& param,
                                            bool write)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(file.c_str(), &db, write ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY, nullptr);
    std::vector<QStringList> rows;
    const QByteArray utf8 = param.toUtf8();
    int rc = SQLITE_OK;
    for (const char* next = sql; rc == SQLITE_OK && *next;) {
        sqlite3_stmt* st = nullptr;
        rc = sqlite3_prepare_v2(db, next, -1, &st, &next);
        if (st && !param.isNull()) sqlite3_bind_text(st, 1, utf8.constData(), int(utf8.size()), SQLITE_STATIC);
        while (st && (rc = sqlite3_step(st)) == SQLITE_ROW) {
            rows.emplace_back();
            for (int i = 0; i < sqlite3_column_count(st); ++i)
                rows.back() << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)));
        }
        if (rc == SQLITE_DONE) rc = SQLITE_OK;
        sqlite3_finalize(st);
    }
    const std::string error = sqlite3_errmsg(db);
    sqlite3_close(db);
    if (rc != SQLITE_OK) throw std::runtime_error(error + " in: " + sql);
    return rows;
}

HeldLock::HeldLock(const std::filesystem::path& file, const char* begin)
{
    sqlite3_open(file.c_str(), &db_);
    if (sqlite3_exec(db_, begin, nullptr, nullptr, nullptr) != SQLITE_OK) {
        const std::string error = std::string("cannot lock: ") + sqlite3_errmsg(db_);
        sqlite3_close(db_);
        throw std::runtime_error(error);
    }
}

HeldLock::~HeldLock()
{
    sqlite3_exec(db_, "rollback", nullptr, nullptr, nullptr);
    sqlite3_close(db_);
}

} // namespace wd::test
