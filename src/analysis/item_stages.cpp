#include "analysis/item_stages.h"

#include "analysis/chart_reading.h"
#include "analysis/line_strength.h"

namespace analysis {

QStringList DescribeItemStages(const chart::ChartState& state, const chart::DivinationData& data, const QString& header,
                               const QString& itemText, int position) {
    const QChar e = itemElement(itemText);
    const QChar b = itemBranch(itemText);
    const chart::ChartLine& line = state.main[std::size_t(position)];
    // Q(x): the stage row holding branch + element; empty when none does.
    auto stage = [&](QChar branch) { return data.stageOf(QString(branch) + e); };

    QStringList lines;
    QString atMonth = header + u'：' + itemText;
    if (const QString name = stage(monthBranch(state)); !name.isEmpty())
        atMonth += QStringLiteral(" 月建 12宫 (") + name + u')';
    lines << atMonth;
    QString atDay = header + u'：' + itemText;
    if (const QString name = stage(dayBranch(state)); !name.isEmpty())
        atDay += QStringLiteral(" 日建 12宫 (") + name + u')';
    lines << atDay;

    if (GainsSeasonQi(state, b)) lines << itemText + QStringLiteral(" 得气");
    if (header.contains(u"伏神")) {
        if (const QString name = stage(charAt(line.branchElement, 0)); !name.isEmpty())
            lines << QStringLiteral("伏飞 12宫 (") + name + u')';
    }
    if (header.contains(u'第') && header.contains(u'爻') && isMoving(line)) {
        if (const QString name = stage(itemBranch(line.changedLine)); !name.isEmpty())
            lines << QStringLiteral("动变 12宫 (") + name + u')';
    }
    return lines;
}

}  // namespace analysis
