#pragma once
// Every message box and input box of the windows goes through one Prompter, so tests can
// script the answers and nothing modal opens under test.
#include <QString>
#include <optional>

class QWidget;

namespace app {

class Prompter {
public:
    enum class Answer { Yes, No, Cancel };
    virtual ~Prompter() = default;
    virtual void message(const QString& text) = 0;
    // The text entered, or nothing when the box was cancelled.
    virtual std::optional<QString> input(const QString& title, const QString& prompt, const QString& defaultText) = 0;
    virtual bool askYesNo(const QString& text) = 0;
    virtual Answer askYesNoCancel(const QString& text) = 0;
};

// Standard message and input boxes over a parent window.
class DialogPrompter : public Prompter {
public:
    explicit DialogPrompter(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    void message(const QString& text) override;
    std::optional<QString> input(const QString& title, const QString& prompt, const QString& defaultText) override;
    bool askYesNo(const QString& text) override;
    Answer askYesNoCancel(const QString& text) override;

private:
    QWidget* parent_;
};

}  // namespace app
