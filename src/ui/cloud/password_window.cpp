#include "ui/cloud/password_window.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "cloud/account.h"
#include "ui/cloud/cloud_windows_layout.h"
#include "ui/cloud/object_names.h"
#include "ui/common/accessible_names.h"
#include "ui/common/widget_place.h"
#include "workbench/prompter.h"

namespace ui {

namespace layout = password_layout;
namespace names = objectnames::passwordwindow;

PasswordWindow::PasswordWindow(cloud::Account& account, workbench::Prompter& prompter, QWidget* parent)
    : QDialog(parent), account_(account), prompter_(prompter) {
    setObjectName(names::window);
    setWindowTitle(QStringLiteral("密码修改"));
    setFixedSize(layout::kDialog);

    const struct {
        const char* name;
        const char16_t* caption;
        QLineEdit** edit;
    } boxes[] = {{names::oldEdit, u"原密码：", &oldEdit_},
                 {names::newEdit, u"新密码：", &newEdit_},
                 {names::confirmationEdit, u"确认新密码：", &confirmationEdit_}};
    for (int row = 0; row < 3; ++row) {
        const auto& box = boxes[row];
        place<QLabel>(this, "", layout::kCaption.translated(0, layout::rowY(row)))
            ->setText(QString::fromUtf16(box.caption));
        *box.edit = place<QLineEdit>(this, box.name, layout::kField.translated(0, layout::rowY(row)));
        (*box.edit)->setEchoMode(QLineEdit::Password);
        nameByCaption(*box.edit, QString::fromUtf16(box.caption));
    }
    changeButton_ = place<QPushButton>(this, names::changeButton, layout::kChange);
    changeButton_->setText(QStringLiteral("确定修改"));
    connect(changeButton_, &QPushButton::clicked, this, &PasswordWindow::change);
}

void PasswordWindow::change() {
    const cloud::PasswordChangeOutcome outcome =
        account_.changePassword({oldEdit_->text(), newEdit_->text(), confirmationEdit_->text()});
    prompter_.message(outcome.message);
    if (!outcome.rememberError.isEmpty()) prompter_.message(outcome.rememberError);
    if (!outcome.changed) return;
    for (QLineEdit* edit : {oldEdit_, newEdit_, confirmationEdit_}) edit->clear();
    close();
}

}  // namespace ui
