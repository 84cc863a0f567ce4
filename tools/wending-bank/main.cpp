// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// wending-bank: the question-file tool.
//   wending-bank build SOURCE OUT   make a question file from its readable source
//   wending-bank check FILE         list every problem of a question file
#include <cstdio>
#include <filesystem>

#include <QApplication>
#include <QString>

#include "BankCheck.h"
#include "BankSource.h"

namespace {

void Print(const QString& line, FILE* to = stdout)
{
    std::fprintf(to, "%s\n", line.toUtf8().constData());
}

int Usage()
{
    Print(QStringLiteral("usage: wending-bank build SOURCE OUT\n       wending-bank check FILE"), stderr);
    return 2;
}

int Build(const char* sourcePath, const char* outPath)
{
    wd::bank::Source src;
    QString error;
    if (!wd::bank::ReadSource(sourcePath, src, error)) {
        Print(error, stderr);
        return 1;
    }
    for (const QString& e : src.errors) Print(e, stderr);
    if (!src.errors.empty()) return 1;
    // Build next to the target, check it as `check` does, and move it into place
    // only when it is clean: a failed build writes no question file.
    const std::filesystem::path out(outPath);
    std::filesystem::path tmp = out;
    tmp += ".tmp";
    bool ok = wd::bank::BuildBank(src, tmp, error);
    if (!ok) Print(error, stderr);
    for (const auto& p : ok ? wd::bank::CheckBank(tmp) : std::vector<wd::bank::Problem>{}) {
        Print(src.Where(p.table, p.id) + QStringLiteral(": ") + wd::bank::Format(p), stderr);
        ok = false;
    }
    std::error_code ec;
    if (ok) std::filesystem::rename(tmp, out, ec);
    if (ec) {
        Print(QStringLiteral("cannot write %1").arg(QString::fromUtf8(outPath)), stderr);
        ok = false;
    }
    std::filesystem::remove(tmp, ec);
    return ok ? 0 : 1;
}

int Check(const char* file)
{
    const auto problems = wd::bank::CheckBank(file);
    for (const auto& p : problems) Print(wd::bank::Format(p));
    if (problems.empty()) Print(QStringLiteral("%1: ok").arg(QString::fromUtf8(file)));
    return problems.empty() ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    // Question texts are measured in the game's own fonts; no window is shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc == 4 && QString::fromUtf8(argv[1]) == QStringLiteral("build")) return Build(argv[2], argv[3]);
    if (argc == 3 && QString::fromUtf8(argv[1]) == QStringLiteral("check")) return Check(argv[2]);
    return Usage();
}
