#pragma once
// The one error of the store: a statement or the database file failed. It carries the
// database's own error text; the window that started the operation shows it and ends the
// operation.
#include <QString>
#include <stdexcept>

namespace store {

class DatabaseError : public std::runtime_error {
public:
    explicit DatabaseError(const QString& text) : std::runtime_error(text.toStdString()), text_(text) {}
    const QString& text() const { return text_; }

private:
    QString text_;
};

}  // namespace store
