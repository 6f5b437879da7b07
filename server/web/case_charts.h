// The chart of a stored case, built on the service by the desktop's chart engine from the case
// number, as `qinglan-cli chart --json` prints it with its default options, and its analysis report.
#pragma once

#include <QDateTime>
#include <QJsonObject>
#include <QStringList>

#include <array>
#include <memory>
#include <optional>
#include <string>

namespace chart {
class DivinationData;
}

namespace qinglan::caseservice {

class CaseCharts {
public:
    // Reads the divination rows the program ships into memory; builds need no database after.
    // When they cannot be read, says why on standard error, and every chart is refused with it.
    CaseCharts();
    ~CaseCharts();
    CaseCharts(const CaseCharts&) = delete;
    CaseCharts& operator=(const CaseCharts&) = delete;

    // The chart, and the lines of its analysis report as `qinglan-cli analyse` prints them; or
    // nullopt with the chart engine's reason in `problem`. Safe from any thread.
    struct CaseChart {
        QJsonObject chart;
        QStringList report;
    };
    std::optional<CaseChart> chartOf(const std::string& caseNumber, std::string& problem) const;

    // The case number of a cast now: the date and clock given, the six line codes top line first
    // (1 young yang, 2 young yin, 3 old yang, 4 old yin), 京房式; and its hexagram name text as the
    // desktop stores it ("name", or "主卦：name 变卦：name" when lines move). Nullopt on a bad code.
    struct Cast {
        std::string caseNumber;
        std::string hexagramName;
    };
    std::optional<Cast> castOf(const QDateTime& moment, const std::array<int, 6>& codesTopFirst) const;

private:
    std::unique_ptr<chart::DivinationData> data_;  // null when the rows could not be read
    std::string unavailable_;                       // why
};

}  // namespace qinglan::caseservice
