// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/Database.h"

#include <cctype>
#include <cstdio>

#include <sqlite3.h>
#include <unistd.h>

namespace wd {

namespace {
bool Writable(const std::filesystem::path& p) { return ::access(p.c_str(), W_OK) == 0; }

// The file as an SQLite URI that reads it without locking and without any file
// beside it: "immutable" also lets a file left in write-ahead-log mode be read
// from a folder where no -shm file can be made.
std::string ImmutableUri(const std::filesystem::path& file)
{
    std::string uri = "file:";
    for (const unsigned char c : file.string()) {
        if (std::isalnum(c) || c == '/' || c == '-' || c == '.' || c == '_' || c == '~') {
            uri += static_cast<char>(c);
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", c);
            uri += hex;
        }
    }
    return uri + "?immutable=1";
}

bool ReadsSchema(sqlite3* db)
{
    return sqlite3_exec(db, "select count(*) from sqlite_master", nullptr, nullptr, nullptr) == SQLITE_OK;
}

struct Statement {
    sqlite3_stmt* stmt = nullptr;
    ~Statement() { sqlite3_finalize(stmt); }
};

struct Handle {
    sqlite3* db = nullptr;
    ~Handle() { sqlite3_close_v2(db); }
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

bool Connection::Fail(const char* what, sqlite3* from)
{
    if (!from) from = db_;
    lastError_ = what;
    lastCode_ = SQLITE_ERROR;
    if (from) {
        lastError_ += ": ";
        lastError_ += sqlite3_errmsg(from);
        lastCode_ = sqlite3_errcode(from);
    }
    return false;
}

Connection::Failure Connection::LastFailure() const
{
    switch (lastCode_ & 0xff) {
    case SQLITE_OK: return Failure::None;
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return Failure::Busy;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
    case SQLITE_IOERR:
    case SQLITE_FORMAT: return Failure::Damaged;
    default: return Failure::Other;
    }
}

bool Connection::Open(const std::filesystem::path& file, Access access)
{
    Close();
    file_ = file;
    lastError_.clear();
    lastCode_ = SQLITE_OK;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) return Fail("no such file", nullptr);
    const bool writable =
        access == Access::Play && Writable(file) && Writable(file.parent_path().empty() ? "." : file.parent_path());
    if (!writable) return CopyIntoMemory();
    if (sqlite3_open_v2(file.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        Fail("cannot open");
        Close();
        return false;
    }
    SetBusyTimeout(kOpenBusyTimeoutMs);
    // Reading the schema tells an SQLite file from anything else, and a busy
    // file from a damaged one.
    if (!ReadsSchema(db_)) {
        Fail("not readable as a database");
        Close();
        return false;
    }
    return true;
}

bool Connection::CopyIntoMemory()
{
    Handle source, copy;
    if (sqlite3_open_v2(ImmutableUri(file_).c_str(), &source.db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr) !=
            SQLITE_OK ||
        !ReadsSchema(source.db))
        return Fail("not readable as a database", source.db);
    if (sqlite3_open_v2(":memory:", &copy.db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        return Fail("cannot make an in-memory copy", copy.db);
    sqlite3_backup* backup = sqlite3_backup_init(copy.db, "main", source.db, "main");
    int rc = SQLITE_ERROR;
    if (backup) {
        rc = sqlite3_backup_step(backup, -1);
        sqlite3_backup_finish(backup);
    }
    if (rc != SQLITE_DONE) return Fail("cannot copy the file into memory", copy.db);
    Close();
    db_ = copy.db;
    copy.db = nullptr;
    inMemory_ = true;
    return true;
}

bool Connection::PrepareForWriting()
{
    // Write-ahead logging with synchronous=NORMAL keeps the file whole through a
    // crash or a power loss and waits for the disk only at checkpoints. Where
    // the log cannot be had, the rollback journal with synchronous=FULL is as
    // safe, only slower.
    auto mode = Query("pragma journal_mode=wal", /*traced=*/false);
    if (!mode) return false;
    const bool wal = mode->Field("journal_mode") == QStringLiteral("wal");
    if (sqlite3_exec(db_, wal ? "pragma synchronous=normal" : "pragma synchronous=full", nullptr, nullptr, nullptr) !=
        SQLITE_OK)
        return Fail("cannot set the synchronous level");
    writing_ = true;
    return true;
}

void Connection::SetBusyTimeout(int ms)
{
    if (db_) sqlite3_busy_timeout(db_, ms);
}

void Connection::Close()
{
    if (db_) sqlite3_close_v2(db_);
    db_ = nullptr;
    inMemory_ = false;
    writing_ = false;
}

bool Connection::Execute(std::string_view sql)
{
    if (trace_) trace_(sql);
    if (!db_) return Fail("not open");
    lastCode_ = SQLITE_OK;
    for (int attempt = 0; attempt < 2; ++attempt) {
        int rc = SQLITE_OK;
        if (!inMemory_ && !writing_ && !PrepareForWriting()) rc = lastCode_;
        Statement s;
        if (rc == SQLITE_OK) rc = sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &s.stmt, nullptr);
        if (rc == SQLITE_OK) {
            do rc = sqlite3_step(s.stmt);
            while (rc == SQLITE_ROW);
        }
        if (rc == SQLITE_DONE || rc == SQLITE_OK) {
            lastCode_ = SQLITE_OK;
            return true;
        }
        // The file turned out read-only after all (a read-only mount, say):
        // go on with an in-memory copy and never touch the file.
        if ((rc & 0xff) == SQLITE_READONLY && !inMemory_ && attempt == 0) {
            if (CopyIntoMemory()) continue;
            return false;
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
    lastCode_ = SQLITE_OK;
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
