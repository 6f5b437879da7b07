#include "chart/cast_place.h"

#include <QDateTime>
#include <QTimeZone>
#include <cmath>

#include "calendar/ephemeris.h"

namespace chart {
namespace {

constexpr int kBeijingOffsetSeconds = 8 * 3600;

QString clockText(const QDate& civil, const QDate& date, const QTime& time) {
    const QString hm = time.toString(QStringLiteral("hh:mm"));
    return date == civil ? hm : date.toString(QStringLiteral("yyyy-MM-dd ")) + hm;
}

}  // namespace

std::optional<QString> applyPlaceText(const QString& text, CastPlace& place) {
    const qsizetype comma = text.indexOf(u',');
    const QString degrees = (comma < 0 ? text : text.left(comma)).trimmed();
    bool ok = false;
    const double longitude = degrees.toDouble(&ok);
    if (!ok || !std::isfinite(longitude) || longitude < -180 || longitude > 180)
        return QStringLiteral("the place needs a longitude in degrees from -180 to 180 (east positive), not ") +
               degrees;
    QByteArray zone = "Asia/Shanghai";
    if (comma >= 0) {
        zone = text.mid(comma + 1).trimmed().toUtf8();
        if (!QTimeZone::isTimeZoneIdAvailable(zone))
            return QStringLiteral("unknown time zone ") + QString::fromUtf8(zone) +
                   QStringLiteral(" (an IANA name such as Europe/Berlin)");
    }
    place.longitude = longitude;
    place.zone = zone;
    return std::nullopt;
}

QString placeText(const CastPlace& place) {
    return QString::number(place.longitude, 'g', 10) + u',' + QString::fromUtf8(place.zone);
}

QString timeRuleName(TimeRule rule) {
    return rule == TimeRule::Solar ? QStringLiteral("solar") : QStringLiteral("beijing");
}

std::optional<TimeRule> parseTimeRule(const QString& name) {
    if (name == u"beijing") return TimeRule::Beijing;
    if (name == u"solar") return TimeRule::Solar;
    return std::nullopt;
}

StoredPlace storedPlace(const CastPlace& place) {
    if (place.isDefault()) return {};
    return {placeText(place), timeRuleName(place.rule)};
}

CastPlace placeOfStored(const QString& place, const QString& rule) {
    CastPlace out;
    if (!place.isEmpty() && applyPlaceText(place, out)) return CastPlace{};
    out.rule = parseTimeRule(rule).value_or(TimeRule::Beijing);
    return out;
}

PillarMoment pillarMoment(const QDate& date, const QTime& time, const CastPlace& place) {
    PillarMoment m{date, time, date, time, std::nullopt, {}, {}};
    if (place.isDefault() || !date.isValid() || !time.isValid()) return m;
    const QDateTime civil(date, time, QTimeZone(place.zone));
    if (!civil.isValid() || civil.date() != date || civil.time() != time) {
        m.problem = QStringLiteral("%1 %2 在 %3 不存在（夏令时拨快跳过了这段时间）")
                        .arg(date.toString(QStringLiteral("yyyy-MM-dd")), time.toString(QStringLiteral("hh:mm:ss")),
                             QString::fromUtf8(place.zone));
        return m;
    }
    const QDateTime utc = civil.toUTC();
    const QDateTime beijing = utc.addSecs(kBeijingOffsetSeconds);
    m.beijingDate = beijing.date();
    m.beijingTime = beijing.time();
    if (place.rule == TimeRule::Beijing) {
        m.date = m.beijingDate;
        m.time = m.beijingTime;
        m.labelText = QStringLiteral(" 北京时间 ") + clockText(date, m.date, m.time);
        return m;
    }
    const double equation = cal::equationOfTimeSeconds(utc.date().year(), utc.date().month(), utc.date().day(),
                                                       utc.time().msecsSinceStartOfDay() / 1000.0);
    const qint64 shift = std::llround(place.longitude * 240 + equation);  // 4 minutes of time per degree
    const QDateTime solar = utc.addSecs(shift);
    m.date = solar.date();
    m.time = solar.time();
    m.trueSolarTime = m.time;
    m.labelText = QStringLiteral(" 真太阳时 ") + clockText(date, m.date, m.time);
    return m;
}

}  // namespace chart
