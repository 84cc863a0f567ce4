// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include <QDir>
#include <QTemporaryDir>
#include <QProcess>

#include "BankCheck.h"
#include "fakes/BankFixture.h"

using namespace wd;

// The tool itself, run as the build runs it, on sources that cannot be stored as
// they stand: it names the source file and line of each problem and writes
// nothing. Each line of the generated source is question N on line N + 1,
// easy question N on line N + 161.
TEST(WendingBank, BuildRefusesASourceItCannotStoreFaithfully)
{
    const auto replace = [](int line, QByteArray text) { return [=](QList<QByteArray>& lines) { lines[line - 1] = text; }; };
    const struct {
        std::function<void(QList<QByteArray>&)> edit;
        const char* message; // a line of the tool's errors, after "SOURCE:"
    } cases[] = {
        {[](QList<QByteArray>&) {}, nullptr},
        {replace(3, "2\tquestion \xff\xfe 2\ta2\tfan2"), "3: is not valid UTF-8"},
        {replace(4, QByteArray("3\tquestion 3\ta3\tfan3").insert(10, '\0')), "4: holds a NUL byte"},
        {replace(6, "1\tquestion 5 ____\ta5\tfan5"), "6: id 1 of [question] is already on line 2"},
        {[](QList<QByteArray>& lines) { lines.removeAt(17); }, "1: question 17: id is missing"},
        {replace(5, "4\tquestion 4\tA4\tfan4"), "5: question 4: answer \"A4\" has an uppercase letter (answers use lowercase)"},
        {replace(5, "4\tquestion 4\t2008年\tfan4"), "5: question 4: answer \"2008年\" has a number followed by a unit (numbers go without units)"},
        {replace(6, "5\t \ta5\tfan5"), "6: question 5: quest is empty"},
        {replace(194, "34\teasy 34\te34\tp"), "194: easy 34: id outside 1..33"},
        {replace(163, "2\t" + QString(60, u'长').toUtf8() + "\te2\tp"), "163: easy 2: quest is too long to show whole in the question box"},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        const QString source = dir.filePath(QStringLiteral("src.txt")), out = dir.filePath(QStringLiteral("wending.bin"));
        QList<QByteArray> lines = test::GeneratedSource().toUtf8().split('\n');
        c.edit(lines);
        std::ofstream(source.toStdString(), std::ios::binary) << lines.join('\n').toStdString();
        QProcess tool;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path()); // no word from Qt about a missing one
        tool.setProcessEnvironment(env);
        tool.start(QStringLiteral(WD_BANK_TOOL), {QStringLiteral("build"), source, out});
        ASSERT_TRUE(tool.waitForFinished(60000));
        const QStringList errors = QString::fromUtf8(tool.readAllStandardError()).split(u'\n', Qt::SkipEmptyParts);
        if (!c.message) {
            EXPECT_EQ(tool.exitCode(), 0) << errors.join(u'\n').toStdString();
            EXPECT_TRUE(bank::CheckBank(out.toStdString()).empty());
            continue;
        }
        EXPECT_EQ(tool.exitCode(), 1) << c.message;
        EXPECT_TRUE(errors.contains(source + QStringLiteral(":") + QString::fromUtf8(c.message)))
            << errors.join(u'\n').toStdString();
        for (const QString& e : errors) EXPECT_TRUE(e.startsWith(source + QStringLiteral(":"))) << e.toStdString();
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("src.txt")}) << c.message;
    }
}
