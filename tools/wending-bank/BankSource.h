// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The readable source of a question file: UTF-8 text with a section per table,
//   [question]
//   1<TAB>question<TAB>answer<TAB>provider
//   [easy]
//   1<TAB>...
// Lines starting with '#' and blank lines are ignored.
#include <filesystem>
#include <map>
#include <utility>
#include <vector>

#include <QByteArray>
#include <QString>

namespace wd::bank {

struct SourceRow {
    QString table; // "question" or "easy"
    int line = 0;  // line number in the source
    long long id = 0;
    QString quest, answer, providers;
};

struct Source {
    QString file; // the source's name, as given
    std::vector<SourceRow> rows;
    std::map<QString, int> sections; // the line of each table's "[table]"
    int lines = 0;
    // "FILE:N: ..." for every line that cannot be stored as it stands.
    std::vector<QString> errors;

    // "FILE:N" for the row of an id, else for its table's section, else for
    // the end of the source (where a missing section would go).
    QString Where(const QString& table, long long id) const;
};

// Reads the source's bytes: a line that is not UTF-8 or holds a NUL byte is an
// error, and so is a second row of an id.
Source ParseSource(const QByteArray& bytes, const QString& file);
bool ReadSource(const std::filesystem::path& file, Source& out, QString& error);

// Writes a fresh question file (replacing OUT) with the tables question and easy.
bool BuildBank(const Source& source, const std::filesystem::path& out, QString& error);

} // namespace wd::bank
