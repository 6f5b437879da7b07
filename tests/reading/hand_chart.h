#pragma once
// Charts made by hand for the reading tests: six lines with their branches and codes, the
// cast's pillars, and the void pair.
#include "chart/chart_state.h"

namespace reading_test {

// branches and codes are given from 初爻 up; each line takes the element of its branch.
inline chart::ChartState handChart(QStringView branches, QStringView codes, QStringView year, QStringView month,
                                   QStringView day) {
    static const QString kBranches = QStringLiteral("子丑寅卯辰巳午未申酉戌亥");
    static const QString kElements = QStringLiteral("水土木木土火火土金金土水");
    chart::ChartState s;
    const QString b = branches.toString(), c = codes.toString();
    for (int p = 1; p <= 6; ++p) {
        chart::ChartLine& line = s.main[std::size_t(6 - p)];
        line.branchElement = QString(b.at(p - 1)) + kElements.at(kBranches.indexOf(b.at(p - 1)));
        line.code = c.at(p - 1).digitValue();
    }
    s.main[0].hexagramName = QStringLiteral("卦");
    s.pillarLabel = QStringLiteral("%1年 %2月 %3日").arg(year, month, day);
    return s;
}

}  // namespace reading_test
