#pragma once
// The one error of the store: a statement or the database file failed. It carries a text for the
// user (with the database's own error text where there is one) and what kind of failure it was,
// so a window can say why a save failed and keep what the user typed.
#include <QString>
#include <stdexcept>

namespace store {

enum class DatabaseProblem {
    Other,
    Locked,    // another program holds the file longer than the busy timeout
    ReadOnly,  // the file or its folder cannot be written
    DiskFull,  // the disk (or the file size limit) is full
    NotOurs,   // the file is not a database of this program
    Newer,     // made by a newer version of the program
    Damaged,   // the file is ours but fails its integrity check
};

class DatabaseError : public std::runtime_error {
public:
    explicit DatabaseError(const QString& text, DatabaseProblem problem = DatabaseProblem::Other)
        : std::runtime_error(text.toStdString()), text_(text), problem_(problem) {}
    const QString& text() const { return text_; }
    DatabaseProblem problem() const { return problem_; }

private:
    QString text_;
    DatabaseProblem problem_;
};

}  // namespace store
