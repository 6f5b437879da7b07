#include "chart/cast_pillars.h"

#include <cmath>

#include "calendar/ganzhi.h"
#include "calendar/pillars.h"
#include "calendar/solar_terms.h"
#include "chart/elements.h"
#include "chart/void_branches.h"

namespace chart {
namespace {

QString name(int ganzhi) { return QString::fromStdString(cal::ganzhiName(ganzhi)); }

int monthPillarOf(const QDate& d, cal::CalendarSource source) {
    return cal::monthGanzhi(d.year(), d.month(), d.day(), source);
}

// Minutes since midnight rounded to the nearest minute (half a minute to even).
int roundedMinutes(const QTime& time) { return int(std::nearbyint(time.msecsSinceStartOfDay() / 60000.0)); }

// Hour and minute of a term text such as "立春16:25" (minute 60 kept as it is).
bool termMoment(const QString& termText, int& hour, int& minute) {
    const QString rest = termText.mid(2);
    const qsizetype colon = rest.indexOf(u':');
    if (colon < 0) return false;
    bool okHour = false, okMinute = false;
    hour = rest.left(colon).toInt(&okHour);
    minute = rest.mid(colon + 1, 2).toInt(&okMinute);
    return okHour && okMinute;
}

}  // namespace

QString dateText(const QDate& date) { return date.toString(QStringLiteral("yyyy-MM-dd")); }
QString timeText(const QTime& time) { return time.toString(QStringLiteral("hh:mm:ss")); }

int quarterIndex(int hourBranch, const QTime& time) {
    const int t = roundedMinutes(time);
    int start = hourBranch == 0 ? -60 : 60 + 120 * (hourBranch - 1);
    if (t >= 1380) start = 1380;
    return (t - start + 10) / 10;
}

int quarterGanzhi(int hourGanzhi, const QTime& time) {
    const cal::GanZhiSplit hour = cal::ganzhiSplit(hourGanzhi);
    const int first = 12 * (hour.stem % 5);  // 甲子, 丙子, 戊子, 庚子, 壬子
    const int k = quarterIndex(hour.branch, time);
    return ((first + k - 1) % 60 + 60) % 60;
}

namespace {

// Under the ephemeris a cast is compared with the term's moment to the second; before 立春's
// moment the year is still the old one.
void refineToTermSecond(const QDate& date, const QTime& time, CastPillars& p) {
    constexpr cal::CalendarSource source = cal::CalendarSource::Astronomical;
    const int term = cal::termOnDate(date.year(), date.month(), date.day(), source);
    if (term < 0) return;
    const cal::TermMoment moment = cal::termMoment(date.year(), cal::termInYearIndexOf(term), source);
    if (time.msecsSinceStartOfDay() >= moment.secondOfDay * 1000) return;
    const QDate before = date.addDays(-1);
    p.month = name(monthPillarOf(before, source));
    constexpr int kLichun = 0;  // name index of 立春, where the year changes
    if (term == kLichun) p.year = name(cal::yearGanzhi(before.year(), before.month(), before.day(), source));
}

// Under the formulas the moment is read back from the term text, to the minute.
void refineToTermMinute(const QDate& date, const QTime& time, CastPillars& p) {
    const QString term = QString::fromStdString(cal::termTextOfDate(date.year(), date.month(), date.day()));
    int termHour = 0, termMinute = 0;
    if (!term.isEmpty() && termMoment(term, termHour, termMinute)) {
        if (time.hour() < termHour || (time.hour() == termHour && time.minute() < termMinute))
            p.month = name(monthPillarOf(date.addDays(-1), cal::CalendarSource::Formula));
    }
}

}  // namespace

CastPillars castPillars(const QDate& date, const QTime& time, cal::CalendarSource source, bool earlyZiHour) {
    const int y = date.year(), m = date.month(), d = date.day();
    const cal::CalendarSource used = cal::sourceForYear(source, y);
    CastPillars p;
    p.year = name(cal::yearGanzhi(y, m, d, used));
    p.month = name(monthPillarOf(date, used));
    if (used == cal::CalendarSource::Astronomical)
        refineToTermSecond(date, time, p);
    else
        refineToTermMinute(date, time, p);
    const QDate pillarDay = earlyZiHour && time.hour() == 23 ? date.addDays(1) : date;
    p.day = name(cal::dayGanzhi(pillarDay.year(), pillarDay.month(), pillarDay.day()));
    const int hour = cal::hourGanzhi(y, m, d, time.hour());
    p.hour = name(hour);
    p.quarter = name(quarterGanzhi(hour, time));
    return p;
}

PillarMoment pillarMomentOf(const ChartState& state) {
    return pillarMoment(state.castDate, state.castTime, state.place);
}

QString fillPillars(ChartState& state, cal::CalendarSource source) {
    const PillarMoment moment = pillarMomentOf(state);
    const QDate& date = moment.date;
    const QTime& time = moment.time;
    state.calendarSource = source;
    const cal::CalendarSource used = cal::sourceForYear(source, date.year());
    state.termText = QString::fromStdString(cal::termTextOfDate(date.year(), date.month(), date.day(), used));
    if (used == cal::CalendarSource::Astronomical) state.termText += kAstronomicalMark;
    const CastPillars p = castPillars(date, time, source, state.schools.earlyZiHour);
    state.pillarLabel = p.year + QStringLiteral("年 ") + p.month + QStringLiteral("月 ") + p.day +
                        QStringLiteral("日") + voidTextOfPillar(p.day) + u' ' + dateText(state.castDate) + u' ' +
                        timeText(state.castTime) + moment.labelText + QStringLiteral("（时辰:") + p.hour +
                        QStringLiteral(" 刻:") + p.quarter + QStringLiteral("）");
    fillSlots(state, StrengthBasis::MonthDay);
    return QString::fromStdString(cal::fallbackMessage(source, date.year()));
}

void fillSlots(ChartState& state, StrengthBasis basis) {
    const PillarMoment moment = pillarMomentOf(state);
    const CastPillars p = castPillars(moment.date, moment.time, state.calendarSource, state.schools.earlyZiHour);
    state.basis = basis;
    switch (basis) {
    case StrengthBasis::MonthDay:
        state.firstSlot = p.month + u'月';
        state.secondSlot = p.day + u'日';
        break;
    case StrengthBasis::YearMonth:
        state.firstSlot = p.year + QStringLiteral("(年)");
        state.secondSlot = p.month + QStringLiteral("(月)");
        break;
    case StrengthBasis::DayHour:
        state.firstSlot = p.day + QStringLiteral("(日)");
        state.secondSlot = p.hour + QStringLiteral("(时)");
        break;
    case StrengthBasis::HourQuarter:
        state.firstSlot = p.hour + QStringLiteral("(时)");
        state.secondSlot = p.quarter + QStringLiteral("(分)");
        break;
    }
    state.monthBranchText = branchPolarityText(state.firstSlot.at(1));
    state.dayBranchText = branchPolarityText(state.secondSlot.at(1));
}

PillarDate dateOfPillars(const QString& month, const QString& day, const QDate& today, cal::CalendarSource source) {
    const int wantMonth = cal::ganzhiIndex(month.toStdString());
    const int wantDay = cal::ganzhiIndex(day.toStdString());
    if (wantMonth < 0 || wantDay < 0) return {today, false};
    for (int i = 0; i < 22001; ++i) {
        const QDate d = today.addDays(-i);
        if (cal::dayGanzhi(d.year(), d.month(), d.day()) == wantDay && monthPillarOf(d, source) == wantMonth)
            return {d, true};
    }
    return {today, false};
}

}  // namespace chart
