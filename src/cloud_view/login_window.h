#pragma once
// The login window "登陆网络": log in to the case service, or register a new user in the group
// that opens beside the login fields. Every action is one call into cloud::Account.
#include <QDialog>
#include <optional>

#include "cloud/account.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace app {
class Prompter;
}
namespace cloud {
class SelfUpdate;
}

namespace cloud_view {

class LoginWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr int kNarrowWidth = 260;  // registration group hidden
    static constexpr int kWideWidth = 580;    // registration group shown

    LoginWindow(cloud::Account& account, cloud::SelfUpdate& update, app::Prompter& prompter,
                QWidget* parent = nullptr);

    // The remembered login of row 88 into the boxes; the registration group closed.
    void fillRemembered();
    // What the successful login brought (message label, update offer); none before it.
    const std::optional<cloud::LoginOutcome>& outcome() const { return outcome_; }

    QLineEdit* nameEdit = nullptr;          // Edit1
    QLineEdit* passwordEdit = nullptr;      // Edit2
    QCheckBox* rememberBox = nullptr;       // CheckBox1 "记住用户名和密码"
    QPushButton* loginButton = nullptr;     // Button1 "登陆网络"
    QPushButton* offlineButton = nullptr;   // Button2 "不使用网络"
    QLabel* registerLink = nullptr;         // Label3 "注册新用户"
    QLabel* forgottenLink = nullptr;        // Label4 "忘记密码，找回密码"
    QLabel* downloadLabel = nullptr;        // Label10 "正在下载，请等待几分钟" (hidden)
    QGroupBox* registrationGroup = nullptr; // GroupBox1 "注册新用户" (hidden)
    QLineEdit* newNameEdit = nullptr;       // Edit3
    QLineEdit* newPasswordEdit = nullptr;   // Edit4
    QLineEdit* repeatedEdit = nullptr;      // Edit5
    QLineEdit* mobileEdit = nullptr;        // Edit6
    QLineEdit* emailEdit = nullptr;         // Edit7
    QPushButton* registerButton = nullptr;  // Button3 "立即注册"

private:
    void logIn();
    void offerUpdate();
    void registerUser();
    void showRegistration(bool shown);

    cloud::Account& account_;
    cloud::SelfUpdate& update_;
    app::Prompter& prompter_;
    std::optional<cloud::LoginOutcome> outcome_;
};

}  // namespace cloud_view
