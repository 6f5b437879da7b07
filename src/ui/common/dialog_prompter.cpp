#include "ui/common/dialog_prompter.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include "ui/common/object_names.h"

namespace ui {
namespace {

// Messages carry the program's name, questions "提示".
QString messageCaption() { return QCoreApplication::translate("ui::DialogPrompter", "青岚"); }
QString questionCaption() { return QCoreApplication::translate("ui::DialogPrompter", "提示"); }

}  // namespace

void DialogPrompter::message(const QString& text) { QMessageBox::information(parent_, messageCaption(), text); }

std::optional<QString> DialogPrompter::input(const QString& title, const QString& prompt, const QString& defaultText) {
    bool ok = false;
    const QString text = QInputDialog::getText(parent_, title, prompt, QLineEdit::Normal, defaultText, &ok);
    if (!ok) return std::nullopt;
    return text;
}

bool DialogPrompter::askYesNo(const QString& text) {
    return QMessageBox::question(parent_, questionCaption(), text, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

workbench::Prompter::Answer DialogPrompter::askYesNoCancel(const QString& text) {
    switch (QMessageBox::question(parent_, questionCaption(), text,
                                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return Answer::Cancel;
    }
}

workbench::Prompter::Answer DialogPrompter::askToSave() {
    QMessageBox box(QMessageBox::Question, QCoreApplication::translate("ui::DialogPrompter", "是否保存"),
                    workbench::unsavedTextsQuestion(), QMessageBox::NoButton, parent_);
    box.setObjectName(objectnames::savePrompt);
    QPushButton* save = box.addButton(QCoreApplication::translate("ui::DialogPrompter", "保存"), QMessageBox::YesRole);
    QPushButton* discard =
        box.addButton(QCoreApplication::translate("ui::DialogPrompter", "不保存"), QMessageBox::NoRole);
    QPushButton* cancel =
        box.addButton(QCoreApplication::translate("ui::DialogPrompter", "取消"), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save) return Answer::Yes;
    if (box.clickedButton() == discard) return Answer::No;
    return Answer::Cancel;
}

std::optional<QString> DialogPrompter::chooseSaveFile(const QString& title, const QString& suggested,
                                                      const QString& filter) {
    const QString path = QFileDialog::getSaveFileName(parent_, title, suggested, filter);
    if (path.isEmpty()) return std::nullopt;
    return path;
}

std::optional<QString> DialogPrompter::chooseOpenFile(const QString& title, const QString& filter) {
    const QString path = QFileDialog::getOpenFileName(parent_, title, QString(), filter);
    if (path.isEmpty()) return std::nullopt;
    return path;
}

}  // namespace ui
