#include "ui/cloud/login_window.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include "cloud/self_update.h"
#include "ui/cloud/cloud_windows_layout.h"
#include "ui/cloud/object_names.h"
#include "ui/common/accessible_names.h"
#include "ui/common/caption_fit.h"
#include "ui/common/widget_place.h"
#include "workbench/prompter.h"

namespace ui {
namespace {

namespace layout = login_layout;
namespace names = objectnames::loginwindow;

QLineEdit* labelledEdit(QWidget* parent, const char* name, const QString& caption, QPoint at, bool secret) {
    auto* label = place<QLabel>(parent, "", layout::kFieldCaption.translated(at));
    label->setText(caption);
    auto* edit = place<QLineEdit>(parent, name, layout::kField.translated(at));
    fitCaption(label, edit);
    nameByCaption(edit, caption);
    if (secret) edit->setEchoMode(QLineEdit::Password);
    return edit;
}

QString rememberedHint() { return QCoreApplication::translate("ui::LoginWindow", "（已记住密码）"); }

QPoint registrationRow(int row) { return {layout::kRegistrationLeft, layout::kRegistrationRows[row]}; }

// A button that Enter does not press: the boxes handle Enter themselves.
QPushButton* plainButton(QWidget* parent, const char* name, const QString& caption, const QRect& at) {
    auto* b = place<QPushButton>(parent, name, at);
    b->setText(caption);
    b->setAutoDefault(false);
    return b;
}

}  // namespace

LoginWindow::LoginWindow(cloud::Account& account, cloud::SelfUpdate& update, workbench::Prompter& prompter,
                         QWidget* parent)
    : QDialog(parent), account_(account), update_(update), prompter_(prompter) {
    setObjectName(names::window);
    setWindowTitle(tr("登陆网络"));

    nameEdit_ = labelledEdit(this, names::nameEdit, tr("用户名："), layout::kName, false);
    passwordEdit_ = labelledEdit(this, names::passwordEdit, tr("密码："), layout::kPassword, true);
    rememberBox_ = place<QCheckBox>(this, names::rememberBox, layout::kRemember);
    rememberBox_->setText(tr("记住用户名和密码"));
    rememberBox_->setChecked(true);
    loginButton_ = plainButton(this, names::loginButton, tr("登陆网络"), layout::kLogin);
    offlineButton_ = plainButton(this, names::offlineButton, tr("不使用网络"), layout::kOffline);
    registerLink_ = place<QLabel>(this, names::registerLink, layout::kRegisterLink);
    registerLink_->setText(tr("注册新用户"));
    forgottenLink_ = place<QLabel>(this, names::forgottenLink, layout::kForgottenLink);
    forgottenLink_->setText(tr("忘记密码，找回密码"));
    downloadLabel_ = place<QLabel>(this, names::downloadLabel, layout::kDownload);
    downloadLabel_->setText(tr("正在下载，请等待几分钟"));
    downloadLabel_->hide();

    registrationGroup_ = place<QGroupBox>(this, names::registrationGroup, layout::kRegistration);
    registrationGroup_->setTitle(tr("注册新用户"));
    newNameEdit_ =
        labelledEdit(registrationGroup_, names::newNameEdit, tr("用户名："), registrationRow(0), false);
    newPasswordEdit_ =
        labelledEdit(registrationGroup_, names::newPasswordEdit, tr("密码："), registrationRow(1), true);
    repeatedEdit_ =
        labelledEdit(registrationGroup_, names::repeatedEdit, tr("重复密码："), registrationRow(2), true);
    mobileEdit_ =
        labelledEdit(registrationGroup_, names::mobileEdit, tr("手机号："), registrationRow(3), false);
    emailEdit_ =
        labelledEdit(registrationGroup_, names::emailEdit, tr("邮箱："), registrationRow(4), false);
    registerButton_ =
        plainButton(registrationGroup_, names::registerButton, tr("立即注册"), layout::kRegister);
    showRegistration(false);

    connect(nameEdit_, &QLineEdit::returnPressed, passwordEdit_, qOverload<>(&QWidget::setFocus));
    connect(passwordEdit_, &QLineEdit::returnPressed, loginButton_, &QPushButton::click);
    connect(loginButton_, &QPushButton::clicked, this, &LoginWindow::logIn);
    connect(offlineButton_, &QPushButton::clicked, this, &QDialog::reject);
    connect(nameEdit_, &QLineEdit::textChanged, this, &LoginWindow::showRememberedHint);
    connect(rememberBox_, &QCheckBox::toggled, this, [this](bool on) {
        workbench::guarded(prompter_, [&] { account_.setRememberLogin(on); });
        if (!on) rememberedName_.clear();
        showRememberedHint();
    });
    connect(registerButton_, &QPushButton::clicked, this, &LoginWindow::registerUser);
    new LinkHover(registerLink_, [this] { showRegistration(true); });
    new LinkHover(forgottenLink_, [this] { prompter_.message(cloud::forgottenPasswordNotice()); });
}

void LoginWindow::showRegistration(bool shown) {
    registrationGroup_->setVisible(shown);
    setFixedSize(shown ? layout::kWideWidth : layout::kNarrowWidth, layout::kHeight);
}

cloud::LoginMemory LoginWindow::readRemembered() {
    cloud::LoginMemory memory;
    workbench::guarded(prompter_, [&] { memory = account_.remembered(); });
    rememberedName_ = memory.passwordRemembered ? memory.userName : QString();
    showRememberedHint();
    return memory;
}

void LoginWindow::fillRemembered() {
    const cloud::LoginMemory memory = readRemembered();
    {
        // Setting the box from the memory is not a click.
        const QSignalBlocker quiet(rememberBox_);
        rememberBox_->setChecked(memory.remember);
    }
    passwordEdit_->clear();
    nameEdit_->setText(memory.userName);
    showRememberedHint();
    showRegistration(false);
}

void LoginWindow::showRememberedHint() {
    const bool remembered = !rememberedName_.isEmpty() && nameEdit_->text() == rememberedName_;
    passwordEdit_->setPlaceholderText(remembered ? rememberedHint() : QString());
    passwordEdit_->setAccessibleDescription(remembered ? rememberedHint() : QString());
}

void LoginWindow::logIn() {
    update_.removeLeftoverCopies();
    loginButton_->setEnabled(false);
    const bool ran = workbench::guarded(prompter_, [this] {
        account_.login({nameEdit_->text(), passwordEdit_->text(), rememberBox_->isChecked()},
                       [this](const cloud::LoginOutcome& outcome) { loginAnswered(outcome); });
    });
    if (!ran) loginButton_->setEnabled(true);
}

void LoginWindow::loginAnswered(const cloud::LoginOutcome& outcome) {
    loginButton_->setEnabled(true);
    if (outcome.cancelled) return;
    if (!outcome.loggedIn) {
        // A refused remembered password is forgotten by now.
        if (passwordEdit_->text().isEmpty()) readRemembered();
        prompter_.message(outcome.message);
        return;
    }
    if (!outcome.rememberError.isEmpty()) prompter_.message(outcome.rememberError);
    outcome_ = outcome;
    if (outcome.offerUpdate && update_.underPackageManager())
        prompter_.message(tr("有新版本 %1。本程序由系统的软件包管理器安装，请用它升级（例如 sudo apt upgrade）。")
                              .arg(QString::number(outcome.offeredVersion)));
    else if (outcome.offerUpdate && prompter_.askYesNo(tr("有新版本，是否升级？")))
        return offerUpdate();
    accept();
}

void LoginWindow::offerUpdate() {
    downloadLabel_->show();
    update_.run([this](const cloud::UpdateOutcome& result) {
        downloadLabel_->hide();
        prompter_.message(result.message);
        // The new program starts on its own; this one ends once the login is finished.
        if (result.applied && update_.startProgram())
            QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
        accept();
    });
}

void LoginWindow::registerUser() {
    account_.registerUser({newNameEdit_->text(), newPasswordEdit_->text(), repeatedEdit_->text(),
                           mobileEdit_->text(), emailEdit_->text()},
                          [this](const cloud::RegistrationOutcome& outcome) { registrationAnswered(outcome); });
}

void LoginWindow::registrationAnswered(const cloud::RegistrationOutcome& outcome) {
    for (const QString& message : outcome.messages) prompter_.message(message);
    if (!outcome.registered) return;
    nameEdit_->setText(newNameEdit_->text());
    passwordEdit_->setText(newPasswordEdit_->text());
    newPasswordEdit_->clear();
    repeatedEdit_->clear();
    showRegistration(false);
}

}  // namespace ui
