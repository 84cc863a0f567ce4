// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The question bank: the two tables "question" and "easy" of the file
// "wending.bin", opened once when the start screen loads. Each draw picks a row
// at random by id; the next-question and easy draws skip played rows, mark the
// drawn row played and clear the table's marks when only a few rows are left.
#include <cstdint>
#include <filesystem>
#include <optional>

#include <QString>

#include "platform/Database.h"

namespace wd {

class Module1;
class RandomSource;

struct QuestionRecord {
    std::int16_t id = 0;
    QString quest;
    QString answer;
    QString providers;
};

class QuestionBank {
public:
    // Why the bank cannot be played from: the file is not there, another program
    // holds it, it is no SQLite file or is damaged, or its rows are not what the
    // draws need.
    enum class Problem { None, Missing, InUse, Unreadable, WrongContent };
    // Tries of the random id before a draw gives up. With a sound file at least
    // five rows stay unplayed, so a draw needs a few dozen tries at the very most.
    static constexpr int kMaxTries = 2000;

    // `access`: whether the played marks go into the file or stay in memory.
    QuestionBank(Module1& session, RandomSource& random, std::filesystem::path file,
                 Connection::Access access = Connection::Access::Play);

    // Opening: close an open connection, open the file, clear the played marks of
    // both tables. It waits for a busy file no longer than a frame, checks the
    // content before it writes anything, and stops at the first step that
    // fails; afterwards Usable() tells whether the file can be played from and
    // ProblemText() says why not. Calling it again tries the file afresh.
    void OpenDatabase();
    // QuestionCount = 159, EasyCount = 33.
    void FixQuestionCounts();
    // Both of the above.
    void OpenQuestionBank();
    void CloseQuestionBank();

    // False once opening or a draw has failed, until an opening succeeds.
    bool Usable() const { return problem_ == Problem::None; }
    Problem ProblemKind() const { return problem_; }
    // For the player: why no game can start, and where the file was looked for.
    QString ProblemText() const;
    // For the player: the file failed during a game, why, and where it is.
    QString DrawFailureText() const;

    // Each draw returns the drawn row and sets QuestionId and CorrectAnswer; the
    // next and easy draws also set ProviderName. A draw that cannot deliver a row
    // changes nothing (it marks the row only once it has read it whole), returns
    // std::nullopt, leaves the reason in DrawError() and makes the bank
    // unusable. It gives up at the first failing statement, so it waits for a
    // busy file at most one busy timeout.
    std::optional<QuestionRecord> DrawFirstQuestion();
    std::optional<QuestionRecord> DrawNextQuestion();
    std::optional<QuestionRecord> DrawEasyQuestion();
    const QString& DrawError() const { return drawError_; }

    Connection& DbConnection() { return db_; }
    const std::filesystem::path& File() const { return file_; }

private:
    std::optional<QuestionRecord> DrawMarked(const char* table, int highestId, int keepUnplayed, bool setProvider);
    std::optional<QuestionRecord> ReadRow(Recordset& rs, int id);
    void Accept(const QuestionRecord& q, bool setProvider);
    std::optional<QuestionRecord> Fail(const QString& why);
    Problem CheckContent();
    // What the last failure of the connection means for the player.
    Problem FailureKind() const;
    QString Reason() const;

    Module1& session_;
    RandomSource& random_;
    std::filesystem::path file_;
    Connection::Access access_;
    Connection db_;
    Problem problem_ = Problem::Missing;
    QString contentError_; // which table and ids are wrong
    QString drawError_;
};

} // namespace wd
