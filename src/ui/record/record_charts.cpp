#include "ui/record/record_charts.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QHorizontalBarSeries>
#include <QChart>
#include <QChartView>
#include <QCoreApplication>
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
    return axis;
}

// Bars lying down, one per key from the top, so that long or many keys stay readable.
QChartView* lyingBars(const QStringList& keys, const QList<double>& values, QAbstractAxis* valueAxis,
                      const QString& title, QWidget* parent) {
    auto* chart = new QChart;
    if (!title.isEmpty()) chart->setTitle(title);
    auto* set = new QBarSet(title);
    QStringList topFirst;
    for (qsizetype i = keys.size() - 1; i >= 0; --i) {
        topFirst << keys[i];
        *set << values[i];
    }
    auto* series = new QHorizontalBarSeries;
    series->append(set);
    chart->addSeries(series);
    QBarCategoryAxis* y = keyAxis(topFirst);
    chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(y);
    chart->addAxis(valueAxis, Qt::AlignBottom);
    series->attachAxis(valueAxis);
    QChartView* view = viewOf(chart, parent);
    view->setMinimumHeight(std::max(220, int(keys.size()) * 34 + 80));  // under ~28 px a row, labels elide
    return view;
}

}  // namespace

QWidget* hitRateBars(const QList<record::Group>& groups, QWidget* parent) {
    QStringList keys;
    QList<double> rates;
    for (const record::Group& g : groups) {
        keys << g.key;
        rates << g.tally.hitRate().value_or(0) * 100;
    }
    return lyingBars(keys, rates, percentAxis(), {}, parent);
}

QWidget* timingHistogram(const record::TimingError& timing, QWidget* parent) {
    QStringList keys;
    QList<double> counts;
    qint64 most = 0;
    for (const record::HistogramBin& bin : timing.histogram) {
        keys << record::binText(bin);
        counts << double(bin.count);
        most = std::max(most, bin.count);
    }
    auto* x = new QValueAxis;
    x->setRange(0, double(std::max<qint64>(most, 1)));
    x->setLabelFormat(QStringLiteral("%d"));
    return lyingBars(keys, counts, x, QCoreApplication::translate("ui::RecordWindow", "实应 − 应期（天）：卦例数"), parent);
}

QWidget* quarterLine(const QList<record::Group>& quarters, QWidget* parent) {
    auto* chart = new QChart;
    auto* line = new QLineSeries;
    auto* points = new QScatterSeries;
    points->setMarkerSize(7);
    QStringList keys;
    for (qsizetype i = 0; i < quarters.size(); ++i) {
        keys << quarters[i].key.mid(2);  // "22-Q1"
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
