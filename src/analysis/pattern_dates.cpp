#include "analysis/pattern_dates.h"

#include <optional>

#include "calendar/ganzhi.h"
#include "calendar/pillars.h"
#include "chart/cast_pillars.h"
#include "chart/elements.h"

namespace analysis {
namespace {

QString pillarName(int ganzhi) { return QString::fromStdString(cal::ganzhiName(ganzhi)); }
QChar branchOf(int ganzhi) { return chart::branchChar(ganzhi % cal::kBranchCount); }

// The chart date and the eleven days after it: the first whose day pillar has the branch.
std::optional<QDate> firstDay(const QDate& from, QChar branch) {
    for (int k = 0; k < 12; ++k) {
        const QDate d = from.addDays(k);
        if (branchOf(cal::dayGanzhi(d.year(), d.month(), d.day())) == branch) return d;
    }
    return std::nullopt;
}

struct MonthHit {
    int year = 0;
    int month = 0;
    int ganzhi = 0;
};

// The twelve months after the chart month, keeping the day of month: the first whose month
// pillar has the branch. The chart month itself is never a candidate.
std::optional<MonthHit> firstMonth(const QDate& from, QChar branch, cal::CalendarSource source) {
    int year = from.year();
    int month = from.month();
    for (int step = 0; step < 12; ++step) {
        if (++month > 12) {
            month = 1;
            ++year;
        }
        const int gz = cal::monthGanzhi(year, month, from.day(), source);
        if (branchOf(gz) == branch) return MonthHit{year, month, gz};
    }
    return std::nullopt;
}

QString yearMonth(const MonthHit& hit) {
    return QString::number(hit.year) + u'年' + QString::number(hit.month) + u'月' + pillarName(hit.ganzhi);
}

}  // namespace

QString FindClashDates(const QDate& chartDate, QChar branch, cal::CalendarSource source) {
    const QChar c = chart::clashPartner(branch);
    if (c.isNull() || !chartDate.isValid()) return {};
    const QString words = QString(c) + u'冲' + branch;
    QString text;
    if (const auto day = firstDay(chartDate, c)) {
        const int gz = cal::dayGanzhi(day->year(), day->month(), day->day());
        text = words + chart::dateText(*day) + pillarName(gz);
    }
    if (const auto month = firstMonth(chartDate, c, source)) text += u' ' + words + yearMonth(*month);
    return text;
}

QString FindCompletionDates(const QDate& chartDate, QChar branch, cal::CalendarSource source) {
    if (chart::branchIndex(branch) < 0 || !chartDate.isValid()) return {};
    const QString done = QStringLiteral("成局");
    QString text;
    if (const auto day = firstDay(chartDate, branch)) {
        const int gz = cal::dayGanzhi(day->year(), day->month(), day->day());
        text = chart::dateText(*day) + pillarName(gz) + done;
    }
    if (const auto month = firstMonth(chartDate, branch, source)) text += u' ' + yearMonth(*month) + done;
    return text;
}

}  // namespace analysis
