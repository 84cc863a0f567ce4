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

BankFixture::BankFixture(const std::string& sql) : file_(dir_.filePath(QStringLiteral("wending.bin")).toStdString())
{
    QString error;
    if (!wd::bank::BuildBank(wd::bank::ParseSource(GeneratedSource().toUtf8(), QStringLiteral("fixture")), file_, error))
        throw std::runtime_error(error.toStdString());
    if (!sql.empty()) Sql(sql);
}

std::vector<QStringList> BankFixture::Query(const std::filesystem::path& file, const char* sql, const QString& param,
                                            bool write)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(file.c_str(), &db, write ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY, nullptr);
    std::vector<QStringList> rows;
    const auto addRow = [](void* to, int columns, char** values, char**) {
        QStringList& row = static_cast<std::vector<QStringList>*>(to)->emplace_back();
        for (int i = 0; i < columns; ++i) row << QString::fromUtf8(values[i]);
        return 0;
    };
    const QString literal = QLatin1Char('\'') + QString(param).replace(u'\'', QStringLiteral("''")) + QLatin1Char('\'');
    const QByteArray statements = QString::fromUtf8(sql).replace(QStringLiteral("?1"), literal).toUtf8();
    const bool ok = sqlite3_exec(db, statements.constData(), addRow, &rows, nullptr) == SQLITE_OK;
    const std::string error = sqlite3_errmsg(db);
    sqlite3_close(db);
    if (!ok) throw std::runtime_error(error + " in: " + sql);
    return rows;
}

HeldLock::HeldLock(const std::filesystem::path& file, const char* begin)
{
    sqlite3_open(file.c_str(), &db_);
    if (sqlite3_exec(db_, begin, nullptr, nullptr, nullptr) == SQLITE_OK) return;
    const std::string error = std::string("cannot lock: ") + sqlite3_errmsg(db_);
    sqlite3_close(db_);
    throw std::runtime_error(error);
}

HeldLock::~HeldLock()
{
    sqlite3_exec(db_, "rollback", nullptr, nullptr, nullptr);
    sqlite3_close(db_);
}

} // namespace wd::test
