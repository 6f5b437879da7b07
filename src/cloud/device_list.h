#pragma once
// The devices that keep the logged-in user's login ("记住用户名和密码"), as the account window
// lists them, and their removal: a removed device's token logs in no more.
#include "cloud/cloud_session.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <functional>

namespace cloud {

// The name this device is listed under: the host name and the system, one line of at most 64
// characters.
QString thisDeviceName();

struct DeviceRow {
    qint64 id = 0;
    QString name;
    QDateTime added;
    QDateTime lastUsed;
};

struct DeviceList {
    bool cancelled = false;
    QString message;  // when the list could not be read
    QList<DeviceRow> devices;
};

struct DeviceRemoval {
    bool removed = false;
    bool cancelled = false;
    QString message;  // when not removed
};

// devices.php and revoke.php for the logged-in user.
void listDevices(CloudSession& session, std::function<void(const DeviceList&)> done);
void removeDevice(CloudSession& session, qint64 id, std::function<void(const DeviceRemoval&)> done);

}  // namespace cloud
