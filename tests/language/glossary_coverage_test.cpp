// Every text the program generates about a chart comes out in English with no 中文 left: the text
// copy, the pillar and term labels, the analysis report (whole chart and items), the reading aids
// and the calendar's rows, over all 64 hexagrams under both methods, several dates and moving lines.
#include <gtest/gtest.h>

#include <QSet>

#include "analysis/analysis_report.h"
#include "calendar/calendar_rows.h"
#include "chart/chart_build.h"
#include "chart/text_forms.h"
#include "language/english_text.h"
#include "reading/reading.h"
#include "reading/reading_text.h"
#include "store/database.h"
#include "store/sqlite_divination_data.h"
#include "test_support/qt_printers.h"

namespace {

bool hasChinese(const QString& text) {
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= 0x3000 && u <= 0x303F) || (u >= 0x3400 && u <= 0x9FFF) || (u >= 0xFF00 && u <= 0xFFEF)) return true;
    }
    return false;
}

class EnglishCoverage : public ::testing::Test {
protected:
    EnglishCoverage() : db(store::Database::openInMemory()), data(*db) {}

    // Each line in English; a line with 中文 left is kept (once) to be reported.
    void check(const QStringList& lines) {
        for (const QString& line : lines) {
            ++checked;
            const QString english = language::toEnglish(line);
            if (hasChinese(english) && !left.contains(line) && left.size() < 40) left << line;
        }
    }

    std::unique_ptr<store::Database> db;
    store::SqliteDivinationData data;
    QStringList left;
    int checked = 0;
};

TEST_F(EnglishCoverage, EveryChartTextOfEveryHexagram) {
    const QStringList trigrams = {u"111"_qs, u"112"_qs, u"121"_qs, u"122"_qs,
                                  u"211"_qs, u"212"_qs, u"221"_qs, u"222"_qs};
    const QStringList moments = {u"20240204T:17:00:00"_qs, u"19850715T:23:30:00"_qs, u"20261208T:09:10:00"_qs};
    // Moving lines, bottom line first: none, the first, the second and fifth, all six.
    const std::array<std::array<bool, 6>, 4> movings = {{{false, false, false, false, false, false},
                                                         {true, false, false, false, false, false},
                                                         {false, true, false, false, true, false},
                                                         {true, true, true, true, true, true}}};
    const QStringList questions = reading::questionTypes();
    int n = 0;
    for (const QString& upper : trigrams)
        for (const QString& lower : trigrams)
            for (const QString& method : {QString(), u"藏山卜"_qs})
                for (const QString& moment : moments)
                    for (std::size_t k = 0; k < movings.size(); ++k, ++n) {
                        QString codes;
                        const QString digits = upper + lower;  // top line first
                        for (int i = 0; i < 6; ++i)
                            codes += QString::number(digits.at(i).digitValue() + (movings[k][5 - i] ? 2 : 0));
                        const QString caseNumber = moment.left(8) + codes + method + moment.mid(8);
                        chart::ChartOptions options;
                        options.showHiddenChanges = n % 3 == 0;
                        options.showAllChanged = n % 5 == 0;
                        options.schools.classicalSeasonNames = n % 2 == 0;
                        const chart::BuildContext context{data, options, QDate(2026, 12, 8)};
                        chart::ChartState state;
                        const chart::CaseEntry entry = chart::enterCaseNumber(state, caseNumber, context);
                        ASSERT_TRUE(entry.ok) << caseNumber.toStdString();
                        check(entry.messages);
                        check(chart::chartTextLines(state, caseNumber));
                        for (const QStringList& row : chart::chartTextTable(state, caseNumber)) check(row);
                        check({state.firstSlot, state.secondSlot, state.monthBranchText, state.dayBranchText,
                               state.termText});
                        const analysis::ReportSettings settings{false, options.showHiddenChanges};
                        check(analysis::AnalysisReport(state, data, settings, 0, 0).lines);
                        if (k == 1 || k == 3)
                            for (int line = 1; line <= 6; ++line)
                                for (int column = 1; column <= 3; ++column)
                                    check(analysis::AnalysisReport(state, data, settings, line, column).lines);
                        reading::ReadingRequest request;
                        request.question = questions[n % questions.size()];
                        request.gender = n % 4 == 0 ? QString() : (n % 2 ? u"男"_qs : u"女"_qs);
                        for (const reading::TextLine& l : reading::useGodLines(reading::readUseGod(state, request)))
                            check({l.text});
                        check(reading::structureLines(reading::chartStructure(state, request.schools)));
                        check(reading::spiritLines(reading::spiritsOf(state, request.schools)));
                        // The other strength bases give other slots and the short void text.
                        if (k == 2) {
                            for (const chart::StrengthBasis basis :
                                 {chart::StrengthBasis::YearMonth, chart::StrengthBasis::DayHour,
                                  chart::StrengthBasis::HourQuarter}) {
                                chart::applyStrengthBasis(state, basis, context);
                                check({state.firstSlot, state.secondSlot, state.voidText, state.monthBranchText});
                                check(analysis::AnalysisReport(state, data, settings, 0, 0).lines);
                            }
                        }
                    }
    EXPECT_GT(checked, 100000);
    EXPECT_EQ(left, QStringList());
}

// The calendar's rows of every day of 2023 (a year with a leap month) and 2024, and the first
// months of 1900.
TEST_F(EnglishCoverage, CalendarRows) {
    for (int y : {1900, 2023, 2024}) {
        check({QString::fromStdString(cal::yearRowText(y))});
        for (int m = 1; m <= 12; ++m) {
            check({QString::fromStdString(cal::monthRowText(y, m))});
            for (int d = 1; d <= QDate(y, m, 1).daysInMonth(); ++d)
                check({QString::fromStdString(cal::dayRowText(y, m, d)),
                       QString::fromStdString(cal::dayRowText(y, m, d, cal::CalendarSource::Astronomical))});
        }
    }
    EXPECT_EQ(left, QStringList());
}

}  // namespace
