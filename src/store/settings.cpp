#include "store/settings.h"

#include <QSqlQuery>

namespace store {
namespace {

QString columnName(const SettingColumn& at) {
    return QString::fromLatin1(at.column.data(), qsizetype(at.column.size()));
}

}  // namespace

std::optional<QVariant> Settings::read(const SettingColumn& at) const {
    QSqlQuery query = db_.select(QStringLiteral("select %1 from zhi where id=?").arg(columnName(at)), {at.row});
    if (!query.next()) return std::nullopt;
    return query.value(0);
}

void Settings::write(const SettingColumn& at, const QVariant& value) {
    db_.execute(QStringLiteral("update zhi set %1=? where id=?").arg(columnName(at)), {value, at.row});
}

bool Settings::get(const Setting<bool>& s) const {
    const std::optional<QVariant> stored = read(s.at);
    if (!stored) return s.whenMissing;
    switch (s.encoding) {
    case SettingEncoding::OneMeansOn: return stored->toString() == u"1";
    case SettingEncoding::ZeroMeansOff: return stored->toString() != u"0";
    case SettingEncoding::ZeroMeansOn: return stored->toLongLong() == 0;
    case SettingEncoding::Number:
    case SettingEncoding::Text: break;
    }
    return s.whenMissing;
}

qint64 Settings::get(const Setting<qint64>& s) const {
    const std::optional<QVariant> stored = read(s.at);
    return stored && !stored->isNull() ? stored->toLongLong() : s.whenMissing;
}

QString Settings::get(const Setting<QStringView>& s) const {
    const std::optional<QVariant> stored = read(s.at);
    return stored && !stored->isNull() ? stored->toString() : s.whenMissing.toString();
}

void Settings::set(const Setting<bool>& s, bool on) {
    switch (s.encoding) {
    case SettingEncoding::ZeroMeansOn: write(s.at, on ? 0 : 1); return;
    default: write(s.at, on ? QStringLiteral("1") : QStringLiteral("0")); return;
    }
}

void Settings::set(const Setting<qint64>& s, qint64 value) { write(s.at, value); }

void Settings::set(const Setting<QStringView>& s, const QString& value) { write(s.at, value); }

}  // namespace store
