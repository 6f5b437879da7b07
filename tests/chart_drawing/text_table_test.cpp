// Rows of cells laid out as a table by measured widths.
#include "chart_drawing/text_table.h"

#include <gtest/gtest.h>

#include "test_support/qt_printers.h"

namespace {

TEST(TextTable, ColumnsAsWideAsTheirWidestCell) {
    // Ten units a character, rows 20 high, 5 between columns.
    const chart::TextTable table = chart::layoutTextTable(
        {{QStringLiteral("abcdef")},
         {QStringLiteral("a"), QStringLiteral("bbb"), QString()},
         {QStringLiteral("cc"), QString(), QStringLiteral("d")}},
        [](const QString& s) { return 10.0 * double(s.size()); }, 20, 5);
    // Column widths 20, 30, 10: columns at 0, 25, 60; the single cell spans, empty cells are left out.
    const std::vector<std::pair<QString, QPointF>> expected{{QStringLiteral("abcdef"), {0, 0}},
                                                            {QStringLiteral("a"), {0, 20}},
                                                            {QStringLiteral("bbb"), {25, 20}},
                                                            {QStringLiteral("cc"), {0, 40}},
                                                            {QStringLiteral("d"), {60, 40}}};
    ASSERT_EQ(table.cells.size(), expected.size());
    for (std::size_t k = 0; k < expected.size(); ++k) {
        EXPECT_EQ(table.cells[k].text, expected[k].first);
        EXPECT_EQ(table.cells[k].topLeft, expected[k].second) << k;
    }
    EXPECT_EQ(table.width, 70);
    EXPECT_EQ(table.height, 60);
}

}  // namespace
