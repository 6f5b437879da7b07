#include "cloud_view/password_window.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/prompter.h"
#include "app/widget_place.h"
#include "cloud/account.h"

namespace cloud_view {

using app::place;

PasswordWindow::PasswordWindow(cloud::Account& account, app::Prompter& prompter, QWidget* parent)
    : QDialog(parent), account_(account), prompter_(prompter) {
    setObjectName(QStringLiteral("Tgaimi_Form"));
    setWindowTitle(QStringLiteral("密码修改"));
    setFixedSize(280, 164);

    const struct {
        const char* name;
        const char16_t* caption;
        QLineEdit** edit;
    } boxes[] = {{"Edit1", u"原密码：", &oldEdit}, {"Edit2", u"新密码：", &newEdit}, {"Edit3", u"确认新密码：", &confirmationEdit}};
    int y = 14;
    for (const auto& box : boxes) {
        place<QLabel>(this, "", 12, y + 2, 90, 22)->setText(QString::fromUtf16(box.caption));
        *box.edit = place<QLineEdit>(this, box.name, 104, y, 160, 24);
        (*box.edit)->setEchoMode(QLineEdit::Password);
        y += 34;
    }
    changeButton = place<QPushButton>(this, "Button1", 104, y + 4, 100, 28);
    changeButton->setText(QStringLiteral("确定修改"));
    connect(changeButton, &QPushButton::clicked, this, &PasswordWindow::change);
}

void PasswordWindow::change() {
    const cloud::PasswordChangeOutcome outcome =
        account_.changePassword({oldEdit->text(), newEdit->text(), confirmationEdit->text()});
    prompter_.message(outcome.message);
    if (!outcome.changed) return;
    for (QLineEdit* edit : {oldEdit, newEdit, confirmationEdit}) edit->clear();
    close();
}

}  // namespace cloud_view
