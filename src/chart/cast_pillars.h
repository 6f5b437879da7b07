#pragma once
// The pillars of a cast: the pillar label, the quarter pillar and the two pillar slots under
// the four strength bases.
#include <QDate>
#include <QString>
#include <QTime>

#include "chart/chart_state.h"

namespace chart {

// Cycle index of the ten-minute quarter pillar of a time, given the hour pillar's cycle index.
int quarterGanzhi(int hourGanzhi, const QTime& time);
// Ten-minute quarter 1..12 (13 when a rounded minute runs past the period) of a time.
int quarterIndex(int hourBranch, const QTime& time);

// The moment the chart's pillars follow: the cast's clock converted for its place.
PillarMoment pillarMomentOf(const ChartState& state);

// Computes the pillar label for the cast date and time, the term text, the slots (default
// basis) and the branch texts of both slots under a calendar source (kept in the state); the
// basis returns to 月日; the state's schools decide the 子 hour. Returns the message to show when the cast year falls back to the
// formulas, else an empty text.
QString fillPillars(ChartState& state, cal::CalendarSource source = cal::CalendarSource::Formula);

// The mark the term text carries when the pillars come from the ephemeris.
inline const QString kAstronomicalMark = QStringLiteral("天");

// The pillars fillPillars found, two characters each. On the day of a 节 a cast before its
// moment keeps the month pillar of the day before (to the minute under the formulas, to the
// second under the ephemeris, where a cast before 立春's moment also keeps the old year).
struct CastPillars {
    QString year, month, day, hour, quarter;
};
// With earlyZiHour (早子时) a cast from 23:00 takes the next day's day pillar.
CastPillars castPillars(const QDate& date, const QTime& time,
                        cal::CalendarSource source = cal::CalendarSource::Formula, bool earlyZiHour = false);

// Puts the pillars of a strength basis into the slots and the branch texts, under the state's
// calendar source; sets the void where the basis says so (see applyStrengthBasis in the build).
void fillSlots(ChartState& state, StrengthBasis basis);

// The latest date from today back over at most 22001 days whose month pillar (by the day-level
// solar month) and day pillar carry the two names; today and false when none does.
struct PillarDate {
    QDate date;
    bool matched = false;
};
PillarDate dateOfPillars(const QString& month, const QString& day, const QDate& today,
                         cal::CalendarSource source = cal::CalendarSource::Formula);

// "hh:mm:ss" and "yyyy-MM-dd": the fixed formats of every date and time text.
QString dateText(const QDate& date);
QString timeText(const QTime& time);

}  // namespace chart
