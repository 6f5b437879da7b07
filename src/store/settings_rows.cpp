#include "store/settings_rows.h"

#include <QSqlQuery>
#include <QVariant>

namespace store {
namespace {

QString flag(bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); }

}  // namespace

DisplaySettings SettingsRows::displaySettings() const {
    QSqlQuery query = db_.select(QStringLiteral("select value1,value3,value4,value15 from zhi where id=85"));
    DisplaySettings settings;
    const bool found = query.next();
    settings.highlightClashes = found && query.value(0).toString() == u"1";
    settings.showAllChanged = found && query.value(1).toString() == u"1";
    settings.showStems = !found || query.value(2).toString() != u"0";
    settings.showAnnotations = !found || query.value(3).toLongLong() == 0;
    return settings;
}

void SettingsRows::setHighlightClashes(bool on) {
    db_.execute(QStringLiteral("update zhi set value1=? where id=85"), {flag(on)});
}

void SettingsRows::setShowAllChanged(bool on) {
    db_.execute(QStringLiteral("update zhi set value3=? where id=85"), {flag(on)});
}

void SettingsRows::setShowStems(bool on) {
    db_.execute(QStringLiteral("update zhi set value4=? where id=85"), {flag(on)});
}

void SettingsRows::setShowAnnotations(bool on) {
    db_.execute(QStringLiteral("update zhi set value15=? where id=85"), {on ? 0 : 1});
}

qint64 SettingsRows::chartStyle() const {
    return db_.getFirstInteger(QStringLiteral("select value15 from zhi where id=86"));
}

void SettingsRows::setChartStyle(ChartStyle style) {
    db_.execute(QStringLiteral("update zhi set value15=? where id=86"), {static_cast<int>(style)});
}

LoginMemory SettingsRows::loginMemory() const {
    QSqlQuery query = db_.select(QStringLiteral("select value1,value2,value4 from zhi where id=88"));
    LoginMemory memory;
    if (query.next()) {
        memory.userName = query.value(0).toString();
        memory.password = query.value(1).toString();
        memory.remember = query.value(2).toString() == u"1";
    }
    return memory;
}

void SettingsRows::rememberLogin(const QString& userName, const QString& password) {
    db_.execute(QStringLiteral("update zhi set value1=?,value2=?,value4='1' where id=88"), {userName, password});
}

void SettingsRows::setRememberLogin(bool on) {
    db_.execute(QStringLiteral("update zhi set value4=? where id=88"), {flag(on)});
}

}  // namespace store
