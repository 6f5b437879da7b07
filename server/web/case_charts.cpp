#include "web/case_charts.h"

#include "analysis/analysis_report.h"
#include "chart/chart_build.h"
#include "chart/chart_json.h"
#include "chart/cast_pillars.h"
#include "store/database.h"
#include "store/sqlite_divination_data.h"

#include <iostream>

namespace qinglan::caseservice {

namespace {

// The chart as the CLI builds it: default options, today's date, the clock now for a case number
// without one. A stored case opens whatever its date.
std::optional<chart::ChartState> buildChart(const chart::DivinationData& data, const QString& text,
                                            chart::CaseNumberOrigin origin, std::string& problem) {
    const chart::ChartOptions options;
    const chart::BuildContext context{data, options, QDate::currentDate()};
    chart::ChartState state;
    state.castTime = QTime::currentTime();
    const chart::CaseEntry entry = chart::enterCaseNumber(state, text, context, origin);
    if (!entry.ok) {
        problem = entry.error.toStdString();
        return std::nullopt;
    }
    return state;
}

}  // namespace

CaseCharts::CaseCharts() {
    // Without the rows (Qt's SQLite plugin missing, say) the service still serves everything else.
    try {
        const auto db = store::Database::openInMemory();
        data_ = std::make_unique<store::SqliteDivinationData>(*db);
    } catch (const store::DatabaseError& error) {
        unavailable_ = "卦象数据无法读取：" + error.text().toStdString();
        std::cerr << "qinglan-caseservice: the web page draws no charts: " << error.what() << '\n';
    }
}

CaseCharts::~CaseCharts() = default;

std::optional<CaseCharts::CaseChart> CaseCharts::chartOf(const std::string& caseNumber, std::string& problem) const {
    if (!data_) {
        problem = unavailable_;
        return std::nullopt;
    }
    const auto state = buildChart(*data_, QString::fromStdString(caseNumber), chart::CaseNumberOrigin::Stored, problem);
    if (!state) return std::nullopt;
    const analysis::AnalysisResult report = analysis::AnalysisReport(*state, *data_, {}, 0, 0);
    QStringList lines = report.lines;
    if (!report.message.isEmpty()) lines.append(report.message);
    return CaseChart{chart::chartToJson(*state), lines};
}

std::optional<CaseCharts::Cast> CaseCharts::castOf(const QDateTime& moment, const std::array<int, 6>& codes) const {
    if (!data_) return std::nullopt;
    QString number = chart::dateText(moment.date()).remove(u'-');
    for (const int code : codes) {
        if (code < 1 || code > 4) return std::nullopt;
        number += QString::number(code);
    }
    number += chart::methodWord(chart::ArrangementMethod::Jingfang) + QStringLiteral("T:") + chart::timeText(moment.time());
    std::string problem;
    const auto state = buildChart(*data_, number, chart::CaseNumberOrigin::Entered, problem);
    if (!state) return std::nullopt;
    QString name = state->main[0].hexagramName;
    if (state->hasChanged)
        name = QStringLiteral("主卦：") + name + QStringLiteral(" 变卦：") + state->changed[0].hexagramName;
    return Cast{number.toStdString(), name.toStdString()};
}

}  // namespace qinglan::caseservice
