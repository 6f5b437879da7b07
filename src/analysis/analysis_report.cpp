#include "analysis/analysis_report.h"

#include <optional>

#include "analysis/chart_reading.h"
#include "analysis/combination_patterns.h"
#include "analysis/hexagram_relations.h"
#include "analysis/item_stages.h"
#include "chart/chart_build.h"

namespace analysis {
namespace {

// The clicked item's text, or none when the column holds nothing to analyse.
std::optional<QString> clickedItem(const chart::ChartState& state, const ReportSettings& settings, int p, int column) {
    const chart::ChartLine& line = state.main[std::size_t(p)];
    switch (column) {
    case 1:
        if (line.hiddenSpirit.isEmpty()) return std::nullopt;
        return line.hiddenSpirit;
    case 2: return mainItem(line);
    case 3:
        // A static line's changed item counts only when it is shown as moving in hiding, not
        // when every changed line is merely on display.
        if (isMoving(line) || (settings.showHiddenChanges && chart::isHiddenMoving(state, p))) {
            if (line.changedLine.isEmpty()) return std::nullopt;
            return line.changedLine;
        }
        return std::nullopt;
    default: return std::nullopt;
    }
}

// The world and response lines by their marks; the last marked position counts.
struct Marks {
    int world = -1;
    int response = -1;
};
Marks marksOf(const chart::ChartState& state) {
    Marks m;
    for (int p = 0; p < 6; ++p) {
        if (state.main[std::size_t(p)].mark == u'世') m.world = p;
        if (state.main[std::size_t(p)].mark == u'应') m.response = p;
    }
    return m;
}

// The stages of every item, from the bottom line up.
void itemStagesOfChart(const chart::ChartState& state, const chart::DivinationData& data, const Marks& marks,
                       QStringList& out) {
    for (int n = 1; n <= 6; ++n) {
        const int p = 6 - n;
        const chart::ChartLine& line = state.main[std::size_t(p)];
        QString label;
        if (p == marks.world)
            label = QStringLiteral("世");
        else if (p == marks.response)
            label = QStringLiteral("应");
        const QString header = label + u'第' + QString::number(n) + u'爻';
        out << DescribeItemStages(state, data, header, mainItem(line), p);
        if (!line.hiddenSpirit.isEmpty())
            out << DescribeItemStages(state, data, header + QStringLiteral("伏神"), line.hiddenSpirit, p);
        if (isMoving(line))
            out << DescribeItemStages(state, data, header + QStringLiteral("变爻"), line.changedLine, p);
    }
}

}  // namespace

AnalysisResult AnalysisReport(const chart::ChartState& state, const chart::DivinationData& data,
                              const ReportSettings& settings, int lineNumber, int column) {
    AnalysisResult result;
    if (lineNumber < 0 || lineNumber > 6) return result;  // no such line: nothing to analyse
    if (lineNumber > 0) {
        if (settings.changedOnView) {
            result.lines << kOnlyMainHexagram;
            return result;
        }
        const auto item = clickedItem(state, settings, lineNumber - 1, column);
        if (!item) return result;
        result.lines << itemRelationLines(state, *item, result.highlight);
        result.lines << QString(31, u'*');
    }

    result.lines << hexagramRelationLines(state);
    // The pattern text is one entry shown split at its line breaks.
    result.lines << CombinationPatterns(state).split(QStringLiteral("\r\n"));

    const Marks marks = marksOf(state);
    if (marks.world < 0 || marks.response < 0) {
        result.message = kMissingWorldResponse;
        return result;
    }
    if (lineNumber == 0) itemStagesOfChart(state, data, marks, result.lines);
    return result;
}

}  // namespace analysis
