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

long long BankFixture::Number(const std::string& sql) const
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(file_.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* st = nullptr;
    long long n = -1;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
        n = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    sqlite3_close(db);
    return n;
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

float RFor(int id, int m)
{
    // The middle of the id's share of [0, 1).
    return static_cast<float>((id - 0.5) / m);
}

} // namespace wd::test
