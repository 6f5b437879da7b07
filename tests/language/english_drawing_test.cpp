// The chart drawn in English: every text of the glossary's words, none covering another or
// leaving the chart, over every hexagram, both methods, stems on and off, every note on.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "analysis/line_strength.h"
#include "chart/chart_build.h"
#include "chart_drawing/chart_painter.h"
#include "language/language.h"
#include "language/traditional_text.h"
#include "store/database.h"
#include "store/sqlite_divination_data.h"

namespace {

bool hasChinese(const QString& text) {
    for (const QChar c : text)
        if (c.unicode() >= 0x3000 && c.unicode() <= 0x9FFF) return true;
    return false;
}

TEST(EnglishDrawing, EveryTextInEnglishAndClearOfTheOthers) {
    const auto db = store::Database::openInMemory();
    const store::SqliteDivinationData data(*db);
    chart::ChartOptions options;
    options.showAnnotations = true;
    language::setCurrentLanguage(language::Language::English);
    const QRect chartArea(0, 0, chart::kChartWidth, chart::kChartHeight);
    for (const char* method : {"", "藏山卜"})
        for (const bool stems : {false, true})
            for (int h = 0; h < 64; ++h)
                for (const int moving : {0b111111, 0b010101}) {
                    options.showStems = stems;
                    QString codes;  // top line first; bit k of h: line k from the top is yang
                    for (int k = 0; k < 6; ++k)
                        codes += QChar(u'1' + ((h >> k) & 1 ? 0 : 1) + ((moving >> k) & 1 ? 2 : 0));
                    const QString number =
                        QStringLiteral("20240204") + codes + QString::fromUtf8(method) + QStringLiteral("T:10:30:00");
                    chart::ChartState state;
                    const chart::BuildContext context{data, options, QDate(2026, 12, 8)};
                    ASSERT_TRUE(chart::enterCaseNumber(state, number, context).ok);
                    const chart::PaintInputs in{
                        state,
                        options,
                        false,
                        QStringLiteral("性别:男 出生:1980 占事:work"),
                        [&state](const QString& item) { return analysis::DescribeLineStrength(state, item); },
                        &analysis::DescribeReturnInfluence};
                    QImage image(chart::kChartWidth, chart::kChartHeight, QImage::Format_RGB32);
                    QPainter painter(&image);
                    const std::vector<chart::DrawnText> texts = chart::paintChart(painter, in);
                    ASSERT_GT(texts.size(), 40u);
                    for (std::size_t a = 0; a < texts.size(); ++a) {
                        const std::string where =
                            number.toStdString() + " stems " + (stems ? "on: " : "off: ") + texts[a].text.toStdString();
                        EXPECT_FALSE(hasChinese(texts[a].text)) << where;
                        EXPECT_TRUE(chartArea.contains(texts[a].rect)) << where << " leaves the chart";
                        for (std::size_t b = a + 1; b < texts.size(); ++b)
                            EXPECT_FALSE(texts[a].rect.intersects(texts[b].rect))
                                << where << " and " << texts[b].text.toStdString();
                    }
                }
    language::setCurrentLanguage(language::Language::SimplifiedChinese);
}

// Under 繁體 every drawn text is in Traditional characters: relatives, branches, beasts, marks,
// hidden spirits and changed lines included.
TEST(TraditionalDrawing, NoSimplifiedCharacterDrawn) {
    const auto db = store::Database::openInMemory();
    const store::SqliteDivinationData data(*db);
    chart::ChartOptions options;
    options.showAnnotations = true;
    language::setCurrentLanguage(language::Language::TraditionalTaiwan);
    for (const char* number : {"20240204111114T:10:30:00", "20240204343434藏山卜T:10:30:00", "20240204432112"}) {
        chart::ChartState state;
        const chart::BuildContext context{data, options, QDate(2026, 12, 8)};
        ASSERT_TRUE(chart::enterCaseNumber(state, QString::fromUtf8(number), context).ok);
        const chart::PaintInputs in{state, options, false, QStringLiteral("性别:男 出生:1980 占事:问"),
                                    [&state](const QString& item) { return analysis::DescribeLineStrength(state, item); },
                                    &analysis::DescribeReturnInfluence};
        QImage image(chart::kChartWidth, chart::kChartHeight, QImage::Format_RGB32);
        QPainter painter(&image);
        for (const chart::DrawnText& t : chart::paintChart(painter, in)) {
            if (t.text.endsWith(u"问")) continue;  // the user's own words stay as typed
            EXPECT_TRUE(language::holdsNoSimplified(t.text)) << number << ": " << t.text.toStdString();
        }
    }
    language::setCurrentLanguage(language::Language::SimplifiedChinese);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
