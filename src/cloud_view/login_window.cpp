#include "cloud_view/login_window.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/prompter.h"
#include "app/widget_place.h"
#include "cloud/self_update.h"

namespace cloud_view {
namespace {

using app::place;

constexpr int kHeight = 236;

QLineEdit* labelledEdit(QWidget* parent, const char* name, const QString& caption, int x, int y, bool secret) {
    place<QLabel>(parent, "", x, y + 2, 76, 22)->setText(caption);
    auto* edit = place<QLineEdit>(parent, name, x + 78, y, 150, 24);
    if (secret) edit->setEchoMode(QLineEdit::Password);
    return edit;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, int x, int y, int w) {
    auto* b = place<QPushButton>(parent, name, x, y, w, 28);
    b->setText(caption);
    // Enter is handled by the boxes themselves, not by a default button.
    b->setAutoDefault(false);
    return b;
}

}  // namespace

LoginWindow::LoginWindow(cloud::Account& account, cloud::SelfUpdate& update, app::Prompter& prompter, QWidget* parent)
    : QDialog(parent), account_(account), update_(update), prompter_(prompter) {
    setObjectName(QStringLiteral("Tlogin_Form"));
    setWindowTitle(QStringLiteral("登陆网络"));

    nameEdit = labelledEdit(this, "Edit1", QStringLiteral("用户名："), 8, 16, false);
    passwordEdit = labelledEdit(this, "Edit2", QStringLiteral("密码："), 8, 50, true);
    rememberBox = place<QCheckBox>(this, "CheckBox1", 86, 82, 160, 22);
    rememberBox->setText(QStringLiteral("记住用户名和密码"));
    rememberBox->setChecked(true);
    loginButton = button(this, "Button1", QStringLiteral("登陆网络"), 30, 112, 94);
    offlineButton = button(this, "Button2", QStringLiteral("不使用网络"), 136, 112, 94);
    registerLink = place<QLabel>(this, "Label3", 30, 154, 100, 20);
    registerLink->setText(QStringLiteral("注册新用户"));
    forgottenLink = place<QLabel>(this, "Label4", 30, 180, 200, 20);
    forgottenLink->setText(QStringLiteral("忘记密码，找回密码"));
    downloadLabel = place<QLabel>(this, "Label10", 30, 206, 220, 20);
    downloadLabel->setText(QStringLiteral("正在下载，请等待几分钟"));
    downloadLabel->hide();

    registrationGroup = place<QGroupBox>(this, "GroupBox1", 264, 6, 308, 222);
    registrationGroup->setTitle(QStringLiteral("注册新用户"));
    newNameEdit = labelledEdit(registrationGroup, "Edit3", QStringLiteral("用户名："), 8, 24, false);
    newPasswordEdit = labelledEdit(registrationGroup, "Edit4", QStringLiteral("密码："), 8, 54, true);
    repeatedEdit = labelledEdit(registrationGroup, "Edit5", QStringLiteral("重复密码："), 8, 84, true);
    mobileEdit = labelledEdit(registrationGroup, "Edit6", QStringLiteral("手机号："), 8, 114, false);
    emailEdit = labelledEdit(registrationGroup, "Edit7", QStringLiteral("邮箱："), 8, 144, false);
    registerButton = button(registrationGroup, "Button3", QStringLiteral("立即注册"), 86, 180, 100);
    showRegistration(false);

    connect(nameEdit, &QLineEdit::returnPressed, passwordEdit, qOverload<>(&QWidget::setFocus));
    connect(passwordEdit, &QLineEdit::returnPressed, loginButton, &QPushButton::click);
    connect(loginButton, &QPushButton::clicked, this, &LoginWindow::logIn);
    connect(offlineButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(rememberBox, &QCheckBox::clicked, this, [this](bool on) { account_.setRememberLogin(on); });
    connect(registerButton, &QPushButton::clicked, this, &LoginWindow::registerUser);
    new app::LinkHover(registerLink, [this] { showRegistration(true); });
    new app::LinkHover(forgottenLink, [this] { prompter_.message(cloud::forgottenPasswordNotice()); });
}

void LoginWindow::showRegistration(bool shown) {
    registrationGroup->setVisible(shown);
    setFixedSize(shown ? kWideWidth : kNarrowWidth, kHeight);
}

void LoginWindow::fillRemembered() {
    const store::LoginMemory memory = account_.remembered();
    nameEdit->setText(memory.userName);
    rememberBox->setChecked(memory.remember);
    passwordEdit->setText(memory.password);
    showRegistration(false);
}

void LoginWindow::logIn() {
    update_.removeLeftoverCopies();
    loginButton->setEnabled(false);
    const cloud::LoginOutcome outcome =
        account_.login({nameEdit->text(), passwordEdit->text(), rememberBox->isChecked()});
    loginButton->setEnabled(true);
    if (!outcome.loggedIn) {
        prompter_.message(outcome.message);
        return;
    }
    outcome_ = outcome;
    if (outcome.offerUpdate && prompter_.askYesNo(QStringLiteral("有新版本，是否升级？"))) offerUpdate();
    accept();
}

void LoginWindow::offerUpdate() {
    downloadLabel->show();
    const cloud::UpdateOutcome result = update_.run();
    downloadLabel->hide();
    prompter_.message(result.message);
    if (!result.applied) return;
    // The new program starts on its own; this one ends once the login is finished.
    if (update_.startProgram()) QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
}

void LoginWindow::registerUser() {
    const cloud::RegistrationOutcome outcome = account_.registerUser(
        {newNameEdit->text(), newPasswordEdit->text(), repeatedEdit->text(), mobileEdit->text(), emailEdit->text()});
    for (const QString& message : outcome.messages) prompter_.message(message);
    if (!outcome.registered) return;
    nameEdit->setText(newNameEdit->text());
    passwordEdit->setText(newPasswordEdit->text());
    newPasswordEdit->clear();
    repeatedEdit->clear();
    showRegistration(false);
}

}  // namespace cloud_view
