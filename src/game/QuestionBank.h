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
    // Why the bank cannot be played from.
    enum class Problem { None, Missing, Unreadable, WrongContent };
    // Tries of the random id before a draw gives up. With a sound file at least
    // five rows stay unplayed, so a draw needs a few dozen tries at the very most.
    static constexpr int kMaxTries = 2000;

    QuestionBank(Module1& session, RandomSource& random, std::filesystem::path file);

    // Opening: close an open connection, open the file, clear the played marks of
    // both tables. A step that fails is skipped; afterwards Usable() tells whether
    // the file can be played from and ProblemText() says why not.
    void OpenDatabase();
    // QuestionCount = 159, EasyCount = 33.
    void FixQuestionCounts();
    // Both of the above.
    void OpenQuestionBank();
    void CloseQuestionBank();

    bool Usable() const { return problem_ == Problem::None; }
    Problem ProblemKind() const { return problem_; }
    // A plain sentence for the player naming the file and where it was looked for.
    QString ProblemText() const;

    // Each draw returns the drawn row and sets QuestionId and CorrectAnswer; the
    // next and easy draws also set ProviderName. A draw that cannot deliver a row
    // changes nothing, returns std::nullopt and leaves the reason in DrawError().
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

    Module1& session_;
    RandomSource& random_;
    std::filesystem::path file_;
    Connection db_;
    Problem problem_ = Problem::Missing;
    QString drawError_;
};

} // namespace wd
