#include "platform/Database.h"

#include <sqlite3.h>
#include <unistd.h>

namespace wd {

namespace {
constexpr int kBusyTimeoutMs = 3000; // a second copy of the game may hold the file briefly

bool Writable(const std::filesystem::path& p) { return ::access(p.c_str(), W_OK) == 0; }

struct Statement {
    sqlite3_stmt* stmt = nullptr;
    ~Statement() { sqlite3_finalize(stmt); }
};
} // namespace

std::optional<QString> Recordset::Field(std::string_view name) const
{
    if (Eof()) return std::nullopt;
    for (std::size_t c = 0; c < columns_.size(); ++c)
        if (columns_[c] == name) return rows_[pos_][c];
    return std::nullopt;
}

void Recordset::Close()
{
    open_ = false;
    columns_.clear();
    rows_.clear();
    pos_ = 0;
}

Connection::~Connection() { Close(); }

bool Connection::Fail(const char* what)
{
    lastError_ = what;
    if (db_) {
        lastError_ += ": ";
        lastError_ += sqlite3_errmsg(db_);
    }
    return false;
}

bool Connection::Open(const std::filesystem::path& file)
{
    Close();
    file_ = file;
    lastError_.clear();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) {
        lastError_ = "no such file";
        return false;
    }
    const bool writable = Writable(file) && Writable(file.parent_path().empty() ? "." : file.parent_path());
    const int flags = writable ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY;
    if (sqlite3_open_v2(file.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
        Fail("cannot open");
        Close();
        return false;
    }
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
    // The file holds nothing but questions and their played marks, and the marks
    // are cleared at every start: no need to wait for the disk after each draw.
    sqlite3_exec(db_, "pragma synchronous=off", nullptr, nullptr, nullptr);
    // Reading the schema tells an SQLite file from anything else.
    if (sqlite3_exec(db_, "select count(*) from sqlite_master", nullptr, nullptr, nullptr) != SQLITE_OK) {
        Fail("not a database");
        sqlite3_close(db_);
        db_ = nullptr;
        return false;
    }
    if (!writable && !CopyIntoMemory()) {
        Close();
        return false;
    }
    return true;
}

bool Connection::CopyIntoMemory()
{
    sqlite3* mem = nullptr;
    if (sqlite3_open_v2(":memory:", &mem, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        sqlite3_close(mem);
        return Fail("cannot make an in-memory copy");
    }
    sqlite3_backup* backup = sqlite3_backup_init(mem, "main", db_, "main");
    int rc = SQLITE_ERROR;
    if (backup) {
        rc = sqlite3_backup_step(backup, -1);
        sqlite3_backup_finish(backup);
    }
    if (rc != SQLITE_DONE) {
        sqlite3_close(mem);
        return Fail("cannot copy the file into memory");
    }
    sqlite3_close(db_);
    db_ = mem;
    inMemory_ = true;
    return true;
}

void Connection::Close()
{
    if (db_) sqlite3_close_v2(db_);
    db_ = nullptr;
    inMemory_ = false;
}

bool Connection::Execute(std::string_view sql)
{
    if (trace_) trace_(sql);
    if (!db_) return Fail("not open");
    for (int attempt = 0; attempt < 2; ++attempt) {
        Statement s;
        int rc = sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &s.stmt, nullptr);
        if (rc == SQLITE_OK) {
            do rc = sqlite3_step(s.stmt);
            while (rc == SQLITE_ROW);
        }
        if (rc == SQLITE_DONE || rc == SQLITE_OK) return true;
        // The file turned out read-only after all (a read-only mount, say):
        // go on with an in-memory copy and never touch the file.
        if ((rc & 0xff) == SQLITE_READONLY && !inMemory_ && attempt == 0) {
            if (CopyIntoMemory()) continue;
        }
        return Fail("statement failed");
    }
    return false;
}

std::optional<Recordset> Connection::Query(std::string_view sql, bool traced)
{
    if (trace_ && traced) trace_(sql);
    if (!db_) {
        Fail("not open");
        return std::nullopt;
    }
    Statement s;
    if (sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &s.stmt, nullptr) != SQLITE_OK) {
        Fail("query failed");
        return std::nullopt;
    }
    Recordset rs;
    const int n = sqlite3_column_count(s.stmt);
    for (int c = 0; c < n; ++c) rs.columns_.emplace_back(sqlite3_column_name(s.stmt, c));
    int rc;
    while ((rc = sqlite3_step(s.stmt)) == SQLITE_ROW) {
        std::vector<std::optional<QString>> row;
        row.reserve(static_cast<std::size_t>(n));
        for (int c = 0; c < n; ++c) {
            if (sqlite3_column_type(s.stmt, c) == SQLITE_NULL) {
                row.emplace_back(std::nullopt);
            } else {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s.stmt, c));
                row.emplace_back(QString::fromUtf8(text, sqlite3_column_bytes(s.stmt, c)));
            }
        }
        rs.rows_.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE) {
        Fail("query failed");
        return std::nullopt;
    }
    rs.open_ = true;
    return rs;
}

} // namespace wd
