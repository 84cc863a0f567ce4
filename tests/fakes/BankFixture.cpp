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

void BankFixture::SqlOn(const std::filesystem::path& file, const std::string& sql)
{
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    char* msg = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &msg);
    std::string err = msg ? msg : "";
    sqlite3_free(msg);
    sqlite3_close(db);
    if (rc != SQLITE_OK) throw std::runtime_error(err);
}

std::vector<QStringList> BankFixture::Query(const std::filesystem::path& file, const char* sql, const QString& param)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* st = nullptr;
    std::vector<QStringList> rows;
    const QByteArray utf8 = param.toUtf8();
    const bool ok = sqlite3_prepare_v2(db, sql, -1, &st, nullptr) == SQLITE_OK;
    if (ok && !param.isNull()) sqlite3_bind_text(st, 1, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_STATIC);
    while (ok && sqlite3_step(st) == SQLITE_ROW) {
        rows.emplace_back();
        for (int i = 0; i < sqlite3_column_count(st); ++i)
            rows.back() << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)));
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    if (!ok) throw std::runtime_error(std::string("unreadable question file: ") + sql);
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
