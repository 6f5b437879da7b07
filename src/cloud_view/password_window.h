#pragma once
// The password window "密码修改", opened by "设置" while logged in.
#include <QDialog>

class QLineEdit;
class QPushButton;

namespace app {
class Prompter;
}
namespace cloud {
class Account;
}

namespace cloud_view {

class PasswordWindow : public QDialog {
    Q_OBJECT
public:
    PasswordWindow(cloud::Account& account, app::Prompter& prompter, QWidget* parent = nullptr);

    QLineEdit* oldEdit = nullptr;          // Edit1 "原密码："
    QLineEdit* newEdit = nullptr;          // Edit2 "新密码："
    QLineEdit* confirmationEdit = nullptr; // Edit3 "确认新密码："
    QPushButton* changeButton = nullptr;   // Button1 "确定修改"

private:
    void change();

    cloud::Account& account_;
    app::Prompter& prompter_;
};

}  // namespace cloud_view
