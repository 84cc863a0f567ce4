// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A thin RAII layer over SQLite's C API: a connection that runs plain SQL text
// and a query result that holds its rows, knows their exact number and gives a
// field of the current row by name, as text.
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <QString>

struct sqlite3;

namespace wd {

class Recordset {
public:
    Recordset() = default;
    bool IsOpen() const { return open_; }
    // The exact number of rows of the result (0 once closed).
    long RecordCount() const { return open_ ? static_cast<long>(rows_.size()) : 0; }
    bool Eof() const { return !open_ || pos_ >= rows_.size(); }
    void MoveNext() { if (!Eof()) ++pos_; }
    // The named field of the current row as text; std::nullopt when the result is
    // closed, at its end, has no such field, or the value is NULL.
    std::optional<QString> Field(std::string_view name) const;
    void Close();

private:
    friend class Connection;
    bool open_ = false;
    std::vector<std::string> columns_;
    std::vector<std::vector<std::optional<QString>>> rows_;
    std::size_t pos_ = 0;
};

class Connection {
public:
    // How long a statement waits for a file that another program holds. Opening
    // waits at most a frame, so the start screen never stalls on a busy file;
    // play waits long enough for a second copy of the game to finish a draw.
    static constexpr int kOpenBusyTimeoutMs = 30;
    static constexpr int kBusyTimeoutMs = 1000;

    // Why the last call failed.
    enum class Failure { None, Busy, Damaged, Other };
    // Play: the file itself, read and written; a file or folder that cannot be
    // written is played from an in-memory copy. Copy: always the copy, and the
    // file is only read.
    enum class Access { Play, Copy };

    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens an existing SQLite file and reads its schema, waiting at most
    // kOpenBusyTimeoutMs. A copy in memory is taken without locking and
    // without leaving any file beside it, so the file is never changed. Fails
    // for a missing file or one that is not an SQLite database.
    bool Open(const std::filesystem::path& file, Access access = Access::Play);
    void Close();
    bool IsOpen() const { return db_ != nullptr; }
    // True when the connection works on an in-memory copy of the file.
    bool InMemoryCopy() const { return inMemory_; }
    void SetBusyTimeout(int ms);

    // Runs a statement whose rows are not kept (updates). False on failure.
    // The first write switches the file to write-ahead logging with
    // synchronous=NORMAL: a crash or power loss may lose the last marks but
    // never damages the file, and a write costs no wait for the disk. A file
    // that is only read is left exactly as it was.
    bool Execute(std::string_view sql);
    // Runs a query and keeps all of its rows. std::nullopt on failure.
    // An untraced query is the program's own look at the file, not game SQL.
    std::optional<Recordset> Query(std::string_view sql, bool traced = true);

    const std::string& LastError() const { return lastError_; }
    Failure LastFailure() const;

    // Every statement sent to the database is passed to the trace first.
    void SetTrace(std::function<void(std::string_view)> trace) { trace_ = std::move(trace); }

private:
    bool CopyIntoMemory();
    bool PrepareForWriting();
    bool Fail(const char* what, sqlite3* from = nullptr);

    sqlite3* db_ = nullptr;
    std::filesystem::path file_;
    bool inMemory_ = false;
    bool writing_ = false; // journal mode and synchronous level are set
    std::string lastError_;
    int lastCode_ = 0; // SQLite's result code of the last failure, 0 after a success
    std::function<void(std::string_view)> trace_;
};

} // namespace wd
