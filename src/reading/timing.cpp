#include <algorithm>

#include "analysis/branch_tables.h"
#include "analysis/chart_reading.h"
#include "calendar/ganzhi.h"
#include "calendar/pillars.h"
#include "chart/cast_pillars.h"
#include "chart/elements.h"
#include "reading/reading.h"

namespace reading {
namespace {

// The kinds in the order they are listed on one date.
const QStringList kKinds = {QStringLiteral("值"),   QStringLiteral("合"),   QStringLiteral("冲"),
                            QStringLiteral("冲空"), QStringLiteral("填实"), QStringLiteral("冲墓"),
                            QStringLiteral("长生")};

QChar tombOf(QChar element, const Schools& schools) {
    if (element == u'土' && schools.earthTomb == Schools::EarthTomb::Xu) return u'戌';
    return analysis::tombBranch(element);
}

}  // namespace

QList<TimingCandidate> timingCandidates(const chart::ChartState& chart, const UseGod& useGod,
                                        const ReadingRequest& request) {
    const QChar b = analysis::charAt(useGod.branch, 0);
    if (chart::branchIndex(b) < 0 || !chart.castDate.isValid()) return {};
    const QChar element = chart::branchElement(b);
    const QChar day = analysis::dayBranch(chart);
    const bool moving = useGod.source == u"line" && useGod.chosen && analysis::isMoving(chart.main[6 - *useGod.chosen]);

    QList<std::pair<QString, QChar>> wanted = {{QStringLiteral("值"), b}};  // kind, the day branch it waits for
    const auto want = [&](const QString& kind, QChar branch) {
        if (std::none_of(wanted.begin(), wanted.end(), [&](const auto& w) { return w.first == kind; }))
            wanted.append({kind, branch});
    };
    if (moving)
        want(QStringLiteral("合"), analysis::combinePartner(b));
    else
        want(QStringLiteral("冲"), chart::clashPartner(b));
    if (b == chart.voidPair[0] || b == chart.voidPair[1]) {
        want(QStringLiteral("冲空"), chart::clashPartner(b));
        want(QStringLiteral("填实"), b);
    }
    if (chart::clashPartner(b) == analysis::monthBranch(chart)) {
        want(QStringLiteral("填实"), b);
        want(QStringLiteral("合"), analysis::combinePartner(b));
    }
    const QChar tomb = tombOf(element, request.schools);
    if (tomb == day) want(QStringLiteral("冲墓"), chart::clashPartner(tomb));
    if (analysis::extinctionBranch(element) == day) want(QStringLiteral("长生"), analysis::birthBranch(element));

    const QDate pillarDay = chart::pillarMomentOf(chart).date;
    QList<TimingCandidate> found;
    for (const auto& [kind, branch] : wanted) {
        for (int n = 1; n <= request.withinDays; ++n) {
            const QDate date = pillarDay.addDays(n);
            const int pillar = cal::dayGanzhi(date.year(), date.month(), date.day());
            if (chart::branchChar(pillar % cal::kBranchCount) != branch) continue;
            found.append({date, QString::fromStdString(cal::ganzhiName(pillar)), kind});
            break;
        }
    }
    std::sort(found.begin(), found.end(), [](const TimingCandidate& a, const TimingCandidate& b) {
        return a.date != b.date ? a.date < b.date : kKinds.indexOf(a.kind) < kKinds.indexOf(b.kind);
    });
    return found;
}

}  // namespace reading
