#pragma once
// The written analysis of the chart (卦象分析): whole-chart mode and item mode. The result is
// the lines that replace the judgment box, the highlight flags and, when the chart lacks its
// world and response marks, the message to show.
#include <QString>
#include <QStringList>

#include "analysis/item_relations.h"
#include "chart/chart_state.h"
#include "chart/divination_data.h"

namespace analysis {

struct ReportSettings {
    bool changedOnView = false;      // the changed hexagram is drawn (item mode refuses it)
    bool showHiddenChanges = false;  // 显示暗动变爻: a hidden-moving line's changed item may be chosen
};

struct AnalysisResult {
    QStringList lines;
    HighlightFlags highlight{};  // all 0 in whole-chart mode
    QString message;             // empty, or the message to show
};

inline const QString kOnlyMainHexagram = QStringLiteral("只分析主卦");
inline const QString kMissingWorldResponse = QStringLiteral("错误，缺少世应关键字。");

// lineNumber 0 is whole-chart mode; 1..6 item mode on the line counted from the top (1 = the
// top line), column 1 the hidden spirit, 2 the main line, 3 the changed line.
AnalysisResult AnalysisReport(const chart::ChartState& state, const chart::DivinationData& data,
                              const ReportSettings& settings, int lineNumber, int column);

}  // namespace analysis
