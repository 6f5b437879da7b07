#include "ui/record/record_charts.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>

#include "record/record_csv.h"

namespace ui {
namespace {

QChartView* viewOf(QChart* chart, QWidget* parent) {
    chart->legend()->hide();
    chart->setMargins(QMargins(2, 2, 2, 2));
    chart->setAnimationOptions(QChart::NoAnimation);
    auto* view = new QChartView(chart, parent);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(360, 220);
    return view;
}

QValueAxis* percentAxis() {
    auto* axis = new QValueAxis;
    axis->setRange(0, 100);
    axis->setLabelFormat(QStringLiteral("%d%"));
    axis->setTickCount(6);
    return axis;
}

QBarCategoryAxis* keyAxis(const QStringList& keys) {
    auto* axis = new QBarCategoryAxis;
    axis->append(keys);
    if (keys.size() > 8) axis->setLabelsAngle(-60);
    return axis;
}

}  // namespace

QWidget* hitRateBars(const QList<record::Group>& groups, QWidget* parent) {
    auto* chart = new QChart;
    auto* set = new QBarSet(QStringLiteral("应验率"));
    QStringList keys;
    for (const record::Group& g : groups) {
        keys << g.key;
        *set << g.tally.hitRate().value_or(0) * 100;
    }
    auto* series = new QBarSeries;
    series->append(set);
    chart->addSeries(series);
    QBarCategoryAxis* x = keyAxis(keys);
    chart->addAxis(x, Qt::AlignBottom);
    series->attachAxis(x);
    QValueAxis* y = percentAxis();
    chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(y);
    return viewOf(chart, parent);
}

QWidget* timingHistogram(const record::TimingError& timing, QWidget* parent) {
    auto* chart = new QChart;
    chart->setTitle(QStringLiteral("实应 − 应期（天）"));
    auto* set = new QBarSet(QStringLiteral("卦例数"));
    QStringList keys;
    qint64 most = 0;
    for (const record::HistogramBin& bin : timing.histogram) {
        keys << record::binText(bin);
        *set << double(bin.count);
        most = std::max(most, bin.count);
    }
    auto* series = new QBarSeries;
    series->append(set);
    chart->addSeries(series);
    QBarCategoryAxis* x = keyAxis(keys);
    x->setLabelsAngle(-45);
    chart->addAxis(x, Qt::AlignBottom);
    series->attachAxis(x);
    auto* y = new QValueAxis;
    y->setRange(0, double(std::max<qint64>(most, 1)));
    y->setLabelFormat(QStringLiteral("%d"));
    chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(y);
    return viewOf(chart, parent);
}

QWidget* quarterLine(const QList<record::Group>& quarters, QWidget* parent) {
    auto* chart = new QChart;
    auto* line = new QLineSeries;
    auto* points = new QScatterSeries;
    points->setMarkerSize(7);
    QStringList keys;
    for (qsizetype i = 0; i < quarters.size(); ++i) {
        keys << quarters[i].key;
        // A quarter without a decided case has no rate: the line passes it by.
        if (const auto rate = quarters[i].tally.hitRate()) {
            line->append(double(i), *rate * 100);
            points->append(double(i), *rate * 100);
        }
    }
    chart->addSeries(line);
    chart->addSeries(points);
    QBarCategoryAxis* x = keyAxis(keys);
    chart->addAxis(x, Qt::AlignBottom);
    QValueAxis* y = percentAxis();
    chart->addAxis(y, Qt::AlignLeft);
    for (QAbstractSeries* s : {static_cast<QAbstractSeries*>(line), static_cast<QAbstractSeries*>(points)}) {
        s->attachAxis(x);
        s->attachAxis(y);
    }
    return viewOf(chart, parent);
}

}  // namespace ui
