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

// Computes the pillar label for the cast date and time, the term text, the slots (default
// basis) and the branch texts of both slots; the basis returns to 月日.
void get_tiangandizhi(ChartState& state);

// The pillars get_tiangandizhi found, two characters each.
struct CastPillars {
    QString year, month, day, hour, quarter;
};
CastPillars castPillars(const QDate& date, const QTime& time);

// Puts the pillars of a strength basis into the slots and the branch texts; sets the void
// where the basis says so (see applyStrengthBasis in the build).
void fillSlots(ChartState& state, StrengthBasis basis);

// The latest date from today back over at most 22001 days whose month pillar (by the day-level
// solar month) and day pillar carry the two names; today and false when none does.
struct PillarDate {
    QDate date;
    bool matched = false;
};
PillarDate get_date_by_tiangandizhi(const QString& month, const QString& day, const QDate& today);

// "hh:mm:ss" and "yyyy-MM-dd": the fixed formats of every date and time text.
QString dateText(const QDate& date);
QString timeText(const QTime& time);

}  // namespace chart
