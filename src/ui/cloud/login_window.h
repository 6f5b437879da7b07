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

namespace workbench {
class Prompter;
}
namespace cloud {
class SelfUpdate;
}

namespace ui {

class LoginWindow : public QDialog {
    Q_OBJECT
public:
    LoginWindow(cloud::Account& account, cloud::SelfUpdate& update, workbench::Prompter& prompter,
                QWidget* parent = nullptr);

    // The remembered login into the boxes; the registration group closed. A remembered password
    // is never shown: the empty password box says that one is remembered, and a login with the
    // box left empty uses it.
    void fillRemembered();
    // What the successful login brought (message label, update offer); none before it.
    const std::optional<cloud::LoginOutcome>& outcome() const { return outcome_; }

private:
    void logIn();
    void offerUpdate();
    void registerUser();
    void showRegistration(bool shown);
    // The remembered login, and the password box's hint that follows it.
    cloud::LoginMemory readRemembered();
    // The password box's hint while it is empty and the name is the one a password is remembered for.
    void showRememberedHint();

    cloud::Account& account_;
    cloud::SelfUpdate& update_;
    workbench::Prompter& prompter_;
    std::optional<cloud::LoginOutcome> outcome_;
    QString rememberedName_;  // the name a password is remembered for; empty when none

    // Controls by role; their objectNames are in object_names.h.
    QLineEdit* nameEdit_ = nullptr;
    QLineEdit* passwordEdit_ = nullptr;
    QCheckBox* rememberBox_ = nullptr;        // "记住用户名和密码"
    QPushButton* loginButton_ = nullptr;      // "登陆网络"
    QPushButton* offlineButton_ = nullptr;    // "不使用网络"
    QLabel* registerLink_ = nullptr;          // "注册新用户"
    QLabel* forgottenLink_ = nullptr;         // "忘记密码，找回密码"
    QLabel* downloadLabel_ = nullptr;         // "正在下载，请等待几分钟" (hidden)
    QGroupBox* registrationGroup_ = nullptr;  // "注册新用户" (hidden)
    QLineEdit* newNameEdit_ = nullptr;
    QLineEdit* newPasswordEdit_ = nullptr;
    QLineEdit* repeatedEdit_ = nullptr;
    QLineEdit* mobileEdit_ = nullptr;
    QLineEdit* emailEdit_ = nullptr;
    QPushButton* registerButton_ = nullptr;  // "立即注册"
};

}  // namespace ui
