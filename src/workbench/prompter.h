#pragma once
// Every message box and input box of the windows goes through one Prompter, so tests can
// script the answers and nothing modal opens under test.
#include <QCoreApplication>
#include <QString>
#include <functional>
#include <optional>

#include "store/database_error.h"

namespace workbench {

class Prompter {
public:
    enum class Answer { Yes, No, Cancel };
    virtual ~Prompter() = default;
    virtual void message(const QString& text) = 0;
    // The text entered, or nothing when the box was cancelled.
    virtual std::optional<QString> input(const QString& title, const QString& prompt, const QString& defaultText) = 0;
    virtual bool askYesNo(const QString& text) = 0;
    virtual Answer askYesNoCancel(const QString& text) = 0;
    // The save prompt "是否保存" before an action that would lose unsaved texts:
    // 保存 (Yes), 不保存 (No), 取消 (Cancel).
    virtual Answer askToSave() = 0;
    // The file a save should write, chosen by the user starting from a suggested name; nothing
    // when the choice was cancelled.
    virtual std::optional<QString> chooseSaveFile(const QString& title, const QString& suggested,
                                                  const QString& filter) = 0;
    // An existing file to read, chosen by the user; nothing when the choice was cancelled.
    virtual std::optional<QString> chooseOpenFile(const QString& title, const QString& filter) = 0;
};

// Runs an operation; a database failure shows the database's text and ends it.
inline bool guarded(Prompter& prompter, const std::function<void()>& operation) {
    try {
        operation();
        return true;
    } catch (const store::DatabaseError& e) {
        prompter.message(e.text());
        return false;
    }
}

inline QString unsavedTextsQuestion() {
    return QCoreApplication::translate("workbench::Prompter", "有断语或者反馈没保存，是否保存？");
}

// Answers without asking: messages are dropped, input boxes keep their default, questions get
// "no". For unattended runs (screenshots, benchmarks).
class UnattendedPrompter : public Prompter {
public:
    void message(const QString&) override {}
    std::optional<QString> input(const QString&, const QString&, const QString& defaultText) override {
        return defaultText;
    }
    bool askYesNo(const QString&) override { return false; }
    Answer askYesNoCancel(const QString&) override { return Answer::No; }
    Answer askToSave() override { return Answer::No; }
    std::optional<QString> chooseSaveFile(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    std::optional<QString> chooseOpenFile(const QString&, const QString&) override { return std::nullopt; }
};

}  // namespace workbench
