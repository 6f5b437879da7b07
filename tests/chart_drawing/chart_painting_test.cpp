// The drawn chart: no text covers another, over every hexagram, both methods, stems on and off,
// with every note on; texts move only where they would collide.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "analysis/line_strength.h"
#include "chart/chart_build.h"
#include "chart_drawing/chart_geometry.h"
#include "chart_drawing/chart_painter.h"
#include "store/database.h"
#include "store/sqlite_divination_data.h"
#include "test_support/qt_printers.h"

namespace {

using chart::geometry::rowTop;

class ChartPainting : public ::testing::Test {
protected:
    ChartPainting() : db(store::Database::openInMemory()), data(*db) {}

    // Builds the chart of a case number and paints it, returning the texts drawn.
    std::vector<chart::DrawnText> paint(const QString& caseNumber) {
        const chart::BuildContext context{data, options, QDate(2026, 12, 8)};
        EXPECT_TRUE(chart::enterCaseNumber(state, caseNumber, context).ok) << caseNumber.toStdString();
        chart::refreshVoid(state, context);
        const chart::PaintInputs in{state,
                                    options,
                                    false,
                                    QStringLiteral("性别:男 出生:1980 占事:求财"),
                                    [this](const QString& item) { return analysis::DescribeLineStrength(state, item); },
                                    &analysis::DescribeReturnInfluence};
        QImage image(chart::kChartWidth, chart::kChartHeight, QImage::Format_RGB32);
        QPainter painter(&image);
        return chart::paintChart(painter, in);
    }

    std::unique_ptr<store::Database> db;
    store::SqliteDivinationData data;
    chart::ChartOptions options;
    chart::ChartState state;
};

// Six line codes, top line first, of hexagram h (bit k: line k from the top is yang), the lines
// whose bit is set in `moving` moving.
QString lineCodes(int h, int moving) {
    QString codes;
    for (int k = 0; k < 6; ++k) {
        const bool yang = h & (1 << k), moves = moving & (1 << k);
        codes += QChar(u'0' + (yang ? (moves ? 3 : 1) : (moves ? 4 : 2)));
    }
    return codes;
}

TEST_F(ChartPainting, NoTextCoversAnother) {
    options.showAnnotations = true;
    const QRect chartArea(0, 0, chart::kChartWidth, chart::kChartHeight);
    // Two cast moments: other void branches, other month and day, other notes.
    for (const char* moment : {"20240204", "20261208"}) {
        for (const char* method : {"", "藏山卜"}) {
            for (const bool stems : {false, true}) {
                options.showStems = stems;
                for (int h = 0; h < 64; ++h) {
                    // Every line moving, then every other one (static lines with their own notes).
                    for (const int moving : {0b111111, 0b010101}) {
                        const QString number = QString::fromLatin1(moment) + lineCodes(h, moving) +
                                               QString::fromUtf8(method) + QStringLiteral("T:10:30:00");
                        const std::vector<chart::DrawnText> texts = paint(number);
                        ASSERT_GT(texts.size(), 40u) << number.toStdString();
                        for (std::size_t a = 0; a < texts.size(); ++a) {
                            EXPECT_TRUE(chartArea.contains(texts[a].rect))
                                << number.toStdString() << " stems " << stems << ": " << texts[a].text.toStdString()
                                << " leaves the chart";
                            for (std::size_t b = a + 1; b < texts.size(); ++b)
                                EXPECT_FALSE(texts[a].rect.intersects(texts[b].rect))
                                    << number.toStdString() << " stems " << stems << ": " << texts[a].text.toStdString()
                                    << " and " << texts[b].text.toStdString();
                        }
                    }
                }
            }
        }
    }
}

// Where nothing is in the way a note keeps its place: under 京房式 without stems the main line's
// strength note of a static row without a mark stands at (305, y + 14), over the right end of
// its bar. 乾为天 with its top line moving: 世 on row 0, 应 on row 3.
TEST_F(ChartPainting, NotesKeepTheirPlaceWhereNothingIsInTheWay) {
    options.showAnnotations = true;
    options.showStems = false;
    const std::vector<chart::DrawnText> texts = paint(QStringLiteral("20240204311111T:10:30:00"));
    for (const int row : {1, 2, 4, 5}) {
        const int y = rowTop(row) + chart::geometry::kNoteLine;
        const bool found = std::any_of(texts.begin(), texts.end(), [&](const chart::DrawnText& t) {
            // The ink of a 13-pixel note starts within a pixel or two of its cell's corner.
            return t.rect.left() >= 305 && t.rect.left() <= 307 && std::abs(t.rect.top() - y) <= 2;
        });
        EXPECT_TRUE(found) << "row " << row;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
