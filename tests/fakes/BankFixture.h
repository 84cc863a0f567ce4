#pragma once
// Question files made by the tests: a complete one with generated rows, and
// raw SQL to spoil it in the ways a real file can be spoiled.
#include <filesystem>
#include <string>

#include <QTemporaryDir>

namespace wd::test {

class BankFixture {
public:
    // A folder holding "wending.bin" with 159 questions and 33 easy questions:
    // question N reads "question N ____", its answer is "aN", its provider "fanK".
    BankFixture();
    const std::filesystem::path& File() const { return file_; }
    std::filesystem::path Folder() const { return file_.parent_path(); }
    // Runs raw SQL on the file, outside the game's connection.
    void Sql(const std::string& sql) const;
    // A number read with raw SQL ("select count(*) ...").
    long long Number(const std::string& sql) const;

private:
    QTemporaryDir dir_;
    std::filesystem::path file_;
};

// The r that makes the random id come out as `id` among `m`.
float RFor(int id, int m);

} // namespace wd::test
