// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Question files made by the tests: a complete one with generated rows, and
// raw SQL to spoil it in the ways a real file can be spoiled.
#include <filesystem>
#include <string>
#include <vector>

#include <QStringList>
#include <QTemporaryDir>

struct sqlite3;

namespace wd::test {

// The source of that file: line 1 "[question]", question N on line N + 1,
// line 161 "[easy]", easy question N on line N + 161.
QString GeneratedSource();

class BankFixture {
public:
    // A folder holding "wending.bin" with 159 questions and 33 easy questions:
    // question N reads "question N ____", its answer is "aN", its provider "fanK";
    // then the raw SQL `sql`, if any, run on it.
    explicit BankFixture(const std::string& sql = {});
    const std::filesystem::path& File() const { return file_; }
    std::filesystem::path Folder() const { return file_.parent_path(); }
    // Runs raw SQL on the file, outside the game's connection.
    void Sql(const std::string& sql) const { SqlOn(file_, sql); }
    static void SqlOn(const std::filesystem::path& file, const std::string& sql) { Query(file, sql.c_str(), {}, true); }
    // A number read with raw SQL ("select count(*) ...").
    long long Number(const std::string& sql) const { return Query(file_, sql.c_str()).at(0).at(0).toLongLong(); }
    // The rows that the statements in sql read, each as its columns; ?1 stands
    // for param. Read-only unless `write`.
    static std::vector<QStringList> Query(const std::filesystem::path& file, const char* sql, const QString& param = {},
                                          bool write = false);

private:
    QTemporaryDir dir_;
    std::filesystem::path file_;
};

// Another program holding a question file in a write transaction, through a
// second SQLite connection, until it lets go. "begin immediate" leaves the file
// readable to others; "begin exclusive" on a file in rollback-journal mode does not.
class HeldLock {
public:
    explicit HeldLock(const std::filesystem::path& file, const char* begin = "begin immediate");
    ~HeldLock();
    HeldLock(const HeldLock&) = delete;
    HeldLock& operator=(const HeldLock&) = delete;

private:
    sqlite3* db_ = nullptr;
};

// The r that makes the random id come out as `id` among `m`.
inline float RFor(int id, int m) { return static_cast<float>((id - 0.5) / m); } // the middle of its share of [0, 1)

} // namespace wd::test
