#pragma once
// The case operations behind the casting dialog and the main window's case editors: storing a
// new cast, saving its judgment and feedback, and loading a stored case. Database failures throw
// DatabaseError; an operation that fails half-way leaves no part of itself in the database.
#include "store/case_history.h"
#include "store/case_record.h"
#include "store/database.h"
#include "store/texts_to_save.h"

#include <QDate>
#include <QString>
#include <optional>

namespace store {

// What the casting dialog hands over when a cast is finished.
struct CastCase {
    QString hexagramName;  // the hexagram name text the dialog shows
    QString caseNumber;    // the stored form of the case number (14 digits, method word, "T:", time)
    QString category;      // the category name chosen (lei_mingcheng)
    QString gender, birthYear, subject;
    QDate castDate;
    bool chartOnly = false;  // "仅排盘，不保存": fill the record, store nothing
    QString questionType{};  // the question type (占类), or empty
    QString place{}, timeRule{};  // as CaseRecord keeps them; empty for the Beijing clock
};

struct CreateResult {
    bool stored = false;  // a local row was inserted
};

struct SaveResult {
    bool saved = false;
    QString message;  // the message to show when saved is false
};

class CaseStore {
public:
    CaseStore(Database& db, CaseHistory& history) : db_(db), history_(history) {}

    const CaseRecord& record() const { return record_; }

    CreateResult createCase(const CastCase& cast);
    // The texts `which` names, saved into the record's row (saveKey). Without one
    // the row is inserted first; for a case of the case service its newest local copy (same
    // number and fields) is used when there is one. A text over kMaxCaseTextBytes saves nothing.
    // The outcome goes with the feedback, into the local row only.
    SaveResult saveCaseTexts(TextsToSave which, const CaseTexts& texts);
    // Why the texts `which` names cannot be saved (one over the length limit), or none.
    static std::optional<QString> textsProblem(TextsToSave which, const CaseTexts& texts);
    // Sets the question type (占类) of the record and saves it into the record's row; without a
    // row (a chart-only cast, a case of the case service) it is kept for the first save.
    SaveResult saveQuestionType(const QString& questionType);
    // The outcome of the local copy of the case service's case of the record (pending when there
    // is none): the case service does not keep outcomes.
    CaseOutcome outcomeOfCloudRecord() const;
    // Fills the record from the row with this id and gives its texts; none when there is no row.
    std::optional<CaseTexts> loadLocalCase(qint64 id);
    // Deletes the local case with this id; it also leaves the history. When it is the current
    // record's row, the record is cleared, so a later save cannot bring it back. The case service is
    // not told: a local delete never touches the cloud copy. False when there is no such case.
    bool deleteCase(qint64 id);
    // Moves the local case to another category; the message to show when there is no such case
    // or category.
    std::optional<QString> moveCase(qint64 id, qint64 categoryId);

    // Forgets the case the texts went into: its library was replaced.
    void forgetRecord() {
        record_ = CaseRecord{};
        cloudRecord_ = false;
    }

    // Takes a case the case service returned for identifier id (its fields already read).
    void adoptCloudCase(qint64 id, const CaseRecord& fields);

private:
    // The newest local row holding the case service's case of the record, 0 when none.
    qint64 localCopyOfCloudCase() const;

    Database& db_;
    CaseHistory& history_;
    CaseRecord record_;
    bool cloudRecord_ = false;  // the record came from the case service
};

}  // namespace store
