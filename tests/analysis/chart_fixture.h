#pragma once
// Charts built from case numbers over the shipped divination rows, as the main window builds
// them, for the analysis tests.
#include <gtest/gtest.h>

#include "chart/chart_build.h"
#include "store/database.h"
#include "store/sqlite_divination_data.h"
#include "test_support/qt_printers.h"

class AnalysedChart : public ::testing::Test {
protected:
    AnalysedChart() : db(store::Database::openInMemory()), data(*db) {}

    void build(const char16_t* caseNumber) {
        const chart::BuildContext context{data, options, QDate(2026, 12, 8)};
        state = chart::ChartState{};
        const chart::CaseEntry entry = chart::enterCaseNumber(state, QString::fromUtf16(caseNumber), context);
        ASSERT_TRUE(entry.ok) << entry.error.toStdString();
    }

    void chooseBasis(chart::StrengthBasis basis) {
        const chart::BuildContext context{data, options, QDate(2026, 12, 8)};
        chart::applyStrengthBasis(state, basis, context);
    }

    std::unique_ptr<store::Database> db;
    store::SqliteDivinationData data;
    chart::ChartOptions options;
    chart::ChartState state;
};

inline QStringList texts(std::initializer_list<const char16_t*> lines) {
    QStringList out;
    for (const char16_t* line : lines) out << QString::fromUtf16(line);
    return out;
}
