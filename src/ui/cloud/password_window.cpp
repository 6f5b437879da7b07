#include "ui/cloud/password_window.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "cloud/account.h"
#include "ui/cloud/cloud_windows_layout.h"
#include "ui/cloud/object_names.h"
#include "ui/common/accessible_names.h"
#include "ui/common/caption_fit.h"
#include "ui/common/widget_place.h"
#include "workbench/prompter.h"

namespace ui {

namespace layout = password_layout;
namespace names = objectnames::passwordwindow;

PasswordWindow::PasswordWindow(cloud::Account& account, workbench::Prompter& prompter, QWidget* parent)
    : QDialog(parent), account_(account), prompter_(prompter) {
    setObjectName(names::window);
    setWindowTitle(tr("密码修改"));
    setFixedSize(layout::kDialog);

    const struct {
        const char* name;
        const char* caption;
        QLineEdit** edit;
    } boxes[] = {{names::oldEdit, QT_TR_NOOP("原密码："), &oldEdit_},
                 {names::newEdit, QT_TR_NOOP("新密码："), &newEdit_},
                 {names::confirmationEdit, QT_TR_NOOP("确认新密码："), &confirmationEdit_}};
    for (int row = 0; row < 3; ++row) {
        const auto& box = boxes[row];
        auto* label = place<QLabel>(this, "", layout::kCaption.translated(0, layout::rowY(row)));
        label->setText(tr(box.caption));
        *box.edit = place<QLineEdit>(this, box.name, layout::kField.translated(0, layout::rowY(row)));
        fitCaption(label, *box.edit);
        (*box.edit)->setEchoMode(QLineEdit::Password);
        nameByCaption(*box.edit, tr(box.caption));
    }
    changeButton_ = place<QPushButton>(this, names::changeButton, layout::kChange);
    changeButton_->setText(tr("确定修改"));
    connect(changeButton_, &QPushButton::clicked, this, &PasswordWindow::change);

    place<QLabel>(this, "", layout::kDevicesCaption)->setText(tr("已记住登录的设备："));
    devices_ = place<QTreeWidget>(this, names::deviceList, layout::kDevices);
    devices_->setHeaderLabels({tr("设备"), tr("添加时间"), tr("最近使用")});
    devices_->setRootIsDecorated(false);
    devices_->setColumnWidth(0, 180);
    devices_->setAccessibleName(tr("已记住登录的设备"));
    devices_->installEventFilter(this);
    removeDeviceButton_ = place<QPushButton>(this, names::removeDeviceButton, layout::kRemoveDevice);
    removeDeviceButton_->setText(tr("移除所选设备"));
    removeDeviceButton_->setAutoDefault(false);
    removeDeviceButton_->setEnabled(false);
    connect(devices_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { removeDeviceButton_->setEnabled(current != nullptr); });
    connect(removeDeviceButton_, &QPushButton::clicked, this, &PasswordWindow::removeSelectedDevice);
}

void PasswordWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    reloadDevices();
}

bool PasswordWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == devices_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        removeSelectedDevice();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void PasswordWindow::reloadDevices() {
    account_.listDevices([this](const cloud::DeviceList& list) { showDevices(list); });
}

void PasswordWindow::showDevices(const cloud::DeviceList& list) {
    if (list.cancelled) return;
    devices_->clear();
    if (!list.message.isEmpty()) prompter_.message(list.message);
    const QString format = QStringLiteral("yyyy-MM-dd HH:mm");
    for (const cloud::DeviceRow& row : list.devices) {
        auto* item =
            new QTreeWidgetItem(devices_, {row.name, row.added.toString(format), row.lastUsed.toString(format)});
        item->setData(0, Qt::UserRole, row.id);
    }
    if (devices_->topLevelItemCount() > 0) devices_->setCurrentItem(devices_->topLevelItem(0));
    removeDeviceButton_->setEnabled(devices_->currentItem() != nullptr);
}

void PasswordWindow::removeSelectedDevice() {
    const QTreeWidgetItem* item = devices_->currentItem();
    if (!item) return;
    removeDeviceButton_->setEnabled(false);
    account_.removeDevice(item->data(0, Qt::UserRole).toLongLong(), [this](const cloud::DeviceRemoval& removal) {
        if (removal.cancelled) return;
        if (!removal.message.isEmpty()) prompter_.message(removal.message);
        reloadDevices();
    });
}

void PasswordWindow::change() {
    account_.changePassword({oldEdit_->text(), newEdit_->text(), confirmationEdit_->text()},
                            [this](const cloud::PasswordChangeOutcome& outcome) { changeAnswered(outcome); });
}

void PasswordWindow::changeAnswered(const cloud::PasswordChangeOutcome& outcome) {
    if (outcome.cancelled) return;
    prompter_.message(outcome.message);
    if (!outcome.rememberError.isEmpty()) prompter_.message(outcome.rememberError);
    if (!outcome.changed) return;
    for (QLineEdit* edit : {oldEdit_, newEdit_, confirmationEdit_}) edit->clear();
    close();
}

}  // namespace ui
