#include "cloud/device_list.h"

#include "cloud/reply_reading.h"

#include <QCoreApplication>
#include <QSysInfo>

namespace cloud {
namespace {

constexpr int kDeviceCap = 100;
constexpr int kNameLength = 64;

QDateTime fromEpoch(const QString& seconds) { return QDateTime::fromSecsSinceEpoch(seconds.toLongLong()); }

}  // namespace

QString thisDeviceName() {
    QString name = QSysInfo::machineHostName() + QStringLiteral(" (") + QSysInfo::prettyProductName() + u')';
    name.removeIf([](QChar c) { return c.category() == QChar::Other_Control || c == u'<' || c == u'>'; });
    return name.left(kNameLength);
}

void listDevices(CloudSession& session, std::function<void(const DeviceList&)> done) {
    if (!session.loggedIn()) return done({});
    session.post(QStringLiteral("devices.php"), {QStringLiteral("nm=") + session.userName()},
                 [done](const ExchangeResult& answer) {
                     DeviceList list;
                     list.cancelled = answer.failure == ExchangeFailure::Cancelled;
                     const QString reply = answer.replyText();
                     if (reply == kNetError || (!reply.isEmpty() && !reply.startsWith(u"ok<t>"))) {
                         list.message =
                             QCoreApplication::translate("cloud::DeviceList", "无法读取设备列表：%1").arg(reply);
                         return done(list);
                     }
                     for (const QStringList& row : readList(reply, 4, kDeviceCap)) {
                         bool isNumber = false;
                         const qint64 id = row[0].toLongLong(&isNumber);
                         if (isNumber) list.devices.append({id, row[1], fromEpoch(row[2]), fromEpoch(row[3])});
                     }
                     done(list);
                 });
}

void removeDevice(CloudSession& session, qint64 id, std::function<void(const DeviceRemoval&)> done) {
    if (!session.loggedIn())
        return done({false, false, QCoreApplication::translate("cloud::DeviceList", "请先登陆网络。")});
    session.post(QStringLiteral("revoke.php"),
                 {QStringLiteral("nm=") + session.userName(), QStringLiteral("shebeiid=") + QString::number(id)},
                 [done](const ExchangeResult& answer) {
                     const QString reply = answer.replyText();
                     if (answer.failure == ExchangeFailure::Cancelled) return done({false, true, {}});
                     if (reply == u"ok") return done({true, false, {}});
                     done({false, false,
                           QCoreApplication::translate("cloud::DeviceList", "无法移除设备：%1").arg(reply)});
                 });
}

}  // namespace cloud
