#pragma once
// Reads and writes the settings of settings_table.h with their types: flags as bool, numbers as
// qint64, texts as QString. Every failure throws DatabaseError.
#include <QString>
#include <QVariant>
#include <optional>

#include "store/database.h"
#include "store/settings_table.h"

namespace store {

template <typename T>
struct SettingValue {
    using type = T;
};
template <>
struct SettingValue<QStringView> {
    using type = QString;
};
template <typename T>
using SettingValueOf = typename SettingValue<T>::type;

class Settings {
public:
    explicit Settings(Database& db) : db_(db) {}

    bool get(const Setting<bool>& s) const;
    qint64 get(const Setting<qint64>& s) const;
    QString get(const Setting<QStringView>& s) const;

    void set(const Setting<bool>& s, bool on);
    void set(const Setting<qint64>& s, qint64 value);
    void set(const Setting<QStringView>& s, const QString& value);

private:
    // The stored value; none when the row is missing.
    std::optional<QVariant> read(const SettingColumn& at) const;
    void write(const SettingColumn& at, const QVariant& value);

    Database& db_;
};

}  // namespace store
