#pragma once
// The readable source of a question file: UTF-8 text with a section per table,
//   [question]
//   1<TAB>question<TAB>answer<TAB>provider
//   [easy]
//   1<TAB>...
// Lines starting with '#' and blank lines are ignored.
#include <filesystem>
#include <string>
#include <vector>

#include <QString>

namespace wd::bank {

struct SourceRow {
    QString table; // "question" or "easy"
    int line = 0;  // line number in the source
    long long id = 0;
    QString quest, answer, providers;
};

struct Source {
    std::vector<SourceRow> rows;
    std::vector<QString> errors; // "line N: ..." for every line that could not be read
};

Source ParseSource(const QString& text);
bool ReadSource(const std::filesystem::path& file, Source& out, QString& error);

// Writes a fresh question file (replacing OUT) with the tables question and easy.
bool BuildBank(const Source& source, const std::filesystem::path& out, QString& error);

} // namespace wd::bank
