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
    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens an existing SQLite file. When the file or its folder cannot be
    // written, the file is copied into memory and the copy is used: the game then
    // plays normally and the file is never changed. Fails for a missing file or
    // one that is not an SQLite database.
    bool Open(const std::filesystem::path& file);
    void Close();
    bool IsOpen() const { return db_ != nullptr; }
    // True when the connection works on an in-memory copy of a read-only file.
    bool InMemoryCopy() const { return inMemory_; }

    // Runs a statement whose rows are not kept (updates). False on failure.
    bool Execute(std::string_view sql);
    // Runs a query and keeps all of its rows. std::nullopt on failure.
    // An untraced query is the program's own look at the file, not game SQL.
    std::optional<Recordset> Query(std::string_view sql, bool traced = true);

    const std::string& LastError() const { return lastError_; }

    // Every statement sent to the database is passed to the trace first.
    void SetTrace(std::function<void(std::string_view)> trace) { trace_ = std::move(trace); }

private:
    bool CopyIntoMemory();
    bool Fail(const char* what);

    sqlite3* db_ = nullptr;
    std::filesystem::path file_;
    bool inMemory_ = false;
    std::string lastError_;
    std::function<void(std::string_view)> trace_;
};

} // namespace wd
