// wending-bank: the question-file tool.
//   wending-bank build SOURCE OUT   make a question file from its readable source
//   wending-bank check FILE         list every problem of a question file
#include <cstdio>
#include <filesystem>

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
    if (!src.errors.empty()) {
        for (const QString& e : src.errors) Print(QString::fromUtf8(sourcePath) + QStringLiteral(":") + e, stderr);
        return 1;
    }
    // Build next to the target and move into place, so a failed build never
    // leaves a half-written question file behind.
    const std::filesystem::path out(outPath);
    std::filesystem::path tmp = out;
    tmp += ".tmp";
    if (!wd::bank::BuildBank(src, tmp, error)) {
        Print(error, stderr);
        std::error_code ec;
        std::filesystem::remove(tmp, ec);
        return 1;
    }
    std::error_code ec;
    std::filesystem::rename(tmp, out, ec);
    if (ec) {
        Print(QStringLiteral("cannot write %1").arg(QString::fromUtf8(outPath)), stderr);
        return 1;
    }
    return 0;
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
    if (argc == 4 && QString::fromUtf8(argv[1]) == QStringLiteral("build")) return Build(argv[2], argv[3]);
    if (argc == 3 && QString::fromUtf8(argv[1]) == QStringLiteral("check")) return Check(argv[2]);
    return Usage();
}
