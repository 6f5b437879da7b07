#pragma once
// Standard message and input boxes over a parent window.
#include "workbench/prompter.h"

class QWidget;

namespace ui {

class DialogPrompter : public workbench::Prompter {
public:
    explicit DialogPrompter(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    void message(const QString& text) override;
    std::optional<QString> input(const QString& title, const QString& prompt, const QString& defaultText) override;
    bool askYesNo(const QString& text) override;
    Answer askYesNoCancel(const QString& text) override;
    Answer askToSave() override;
    std::optional<QString> chooseOpenFile(const QString& title, const QString& filter) override;
    std::optional<QString> chooseSaveFile(const QString& title, const QString& suggested,
                                          const QString& filter) override;

private:
    QWidget* parent_;
};

}  // namespace ui
