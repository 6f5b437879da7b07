#include "app/prompter.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace app {

void DialogPrompter::message(const QString& text) {
    QMessageBox::information(parent_, QApplication::applicationDisplayName(), text);
}

std::optional<QString> DialogPrompter::input(const QString& title, const QString& prompt, const QString& defaultText) {
    bool ok = false;
    const QString text = QInputDialog::getText(parent_, title, prompt, QLineEdit::Normal, defaultText, &ok);
    if (!ok) return std::nullopt;
    return text;
}

bool DialogPrompter::askYesNo(const QString& text) {
    return QMessageBox::question(parent_, QApplication::applicationDisplayName(), text,
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

Prompter::Answer DialogPrompter::askYesNoCancel(const QString& text) {
    switch (QMessageBox::question(parent_, QApplication::applicationDisplayName(), text,
                                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return Answer::Cancel;
    }
}

}  // namespace app
