#pragma once
// The password window "密码修改", opened by "设置" while logged in: the password change, and the
// devices that keep this account's login ("记住用户名和密码"), any of which the user removes
// (the button, or Delete in the list).
#include <QDialog>

class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace workbench {
class Prompter;
}
namespace cloud {
class Account;
struct PasswordChangeOutcome;
struct DeviceList;
}  // namespace cloud

namespace ui {

class PasswordWindow : public QDialog {
    Q_OBJECT
public:
    PasswordWindow(cloud::Account& account, workbench::Prompter& prompter, QWidget* parent = nullptr);

    // Reads the device list again (also each time the window is shown).
    void reloadDevices();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void change();
    void changeAnswered(const cloud::PasswordChangeOutcome& outcome);
    void showDevices(const cloud::DeviceList& list);
    void removeSelectedDevice();

    cloud::Account& account_;
    workbench::Prompter& prompter_;

    QLineEdit* oldEdit_ = nullptr;               // "原密码："
    QLineEdit* newEdit_ = nullptr;               // "新密码："
    QLineEdit* confirmationEdit_ = nullptr;      // "确认新密码："
    QPushButton* changeButton_ = nullptr;        // "确定修改"
    QTreeWidget* devices_ = nullptr;             // "已记住登录的设备：" name, added, last used
    QPushButton* removeDeviceButton_ = nullptr;  // "移除所选设备"
};

}  // namespace ui
