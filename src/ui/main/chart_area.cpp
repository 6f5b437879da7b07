#include "ui/main/chart_area.h"

#include <QMouseEvent>
#include <QPainter>

namespace ui {

ChartArea::ChartArea(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PaintBox1"));
    setFixedSize(chart::kChartWidth, chart::kChartHeight);
    setContextMenuPolicy(Qt::CustomContextMenu);
}

void ChartArea::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (inputs_) {
        chart::PaintInputs in = inputs_();
        in.faceColor = palette().color(QPalette::Button);
        in.textColor = palette().color(QPalette::WindowText);
        chart::paintChart(painter, in);
    }
}

void ChartArea::mouseReleaseEvent(QMouseEvent* event) { emit released(event->position().toPoint(), event->button()); }

}  // namespace ui
