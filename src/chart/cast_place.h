#pragma once
// Where a cast was made and which clock its pillars follow. The clock of a cast (the case number's
// date and T: time) is the civil time of the place; the pillars take either Beijing time (UTC+8)
// converted from it, or the place's true solar time: local mean time from the longitude plus the
// equation of time. The default place is today's reading: the clock taken as Beijing time, with
// no conversion at all.
#include <QByteArray>
#include <QDate>
#include <QString>
#include <QTime>
#include <optional>

namespace chart {

enum class TimeRule { Beijing, Solar };

struct CastPlace {
    double longitude = 120;  // degrees, east positive
    QByteArray zone = "Asia/Shanghai";  // IANA name
    TimeRule rule = TimeRule::Beijing;

    bool isDefault() const { return *this == CastPlace{}; }
    bool operator==(const CastPlace&) const = default;
};

// "LONGITUDE[,ZONE]" (degrees, east positive; an IANA zone, default Asia/Shanghai), as the command
// line and the store write it; the problem when it cannot be read. The rule is left as it is.
std::optional<QString> applyPlaceText(const QString& text, CastPlace& place);
QString placeText(const CastPlace& place);
// "beijing" or "solar", and back.
QString timeRuleName(TimeRule rule);
std::optional<TimeRule> parseTimeRule(const QString& name);

// The stored form (a case's didian and shizhi, the settings of 设置): two empty texts for the
// default place; texts that cannot be read give the default place.
struct StoredPlace {
    QString place, rule;
};
StoredPlace storedPlace(const CastPlace& place);
CastPlace placeOfStored(const QString& place, const QString& rule);

// The moment the pillars follow, and the words the pillar label shows for it.
struct PillarMoment {
    QDate date;
    QTime time;
    QDate beijingDate;  // Beijing time (UTC+8) of the cast
    QTime beijingTime;
    std::optional<QTime> trueSolarTime;  // under the solar rule
    QString labelText;  // " 北京时间 …" or " 真太阳时 10:47"; empty for the default place
    QString problem;    // a civil time the place's clock skipped (daylight saving); else empty
};
PillarMoment pillarMoment(const QDate& date, const QTime& time, const CastPlace& place);

}  // namespace chart
