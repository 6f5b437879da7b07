#pragma once
// The password window "密码修改", opened by "设置" while logged in.
#include <QDialog>

class QLineEdit;
class QPushButton;

namespace workbench {
class Prompter;
}
namespace cloud {
class Account;
}

namespace ui {

class PasswordWindow : public QDialog {
    Q_OBJECT
public:
    PasswordWindow(cloud::Account& account, workbench::Prompter& prompter, QWidget* parent = nullptr);

private:
    void change();

    cloud::Account& account_;
    workbench::Prompter& prompter_;

    QLineEdit* oldEdit_ = nullptr;           // "原密码："
    QLineEdit* newEdit_ = nullptr;           // "新密码："
    QLineEdit* confirmationEdit_ = nullptr;  // "确认新密码："
    QPushButton* changeButton_ = nullptr;    // "确定修改"
};

}  // namespace ui
