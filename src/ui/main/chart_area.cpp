#include "ui/main/chart_area.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "chart_drawing/chart_cursor.h"
#include "ui/common/focus_mark.h"
#include "ui/main/object_names.h"

namespace ui {

ChartArea::ChartArea(QWidget* parent) : QWidget(parent) {
    setObjectName(objectnames::mainwindow::chartArea);
    setFixedSize(chart::kChartWidth, chart::kChartHeight);
    setContextMenuPolicy(Qt::CustomContextMenu);
}

chart::ChartHit ChartArea::cursor() const {
    if (!inputs_) return {};
    const chart::PaintInputs in = inputs_();
    return chart::settleCursor(in.state, in.showingChanged, cursor_);
}

void ChartArea::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (inputs_) {
        chart::PaintInputs in = inputs_();
        in.faceColor = palette().color(QPalette::Button);
        in.textColor = palette().color(QPalette::WindowText);
        chart::paintChart(painter, in);
        if (hasFocus() && marksShown_) paintFocusMarks(painter, in);
    }
}

void ChartArea::paintFocusMarks(QPainter& painter, const chart::PaintInputs& in) {
    paintFocusMark(painter, rect(), palette());
    const chart::ChartHit item = chart::settleCursor(in.state, in.showingChanged, cursor_);
    if (item.row > 0)
        paintFocusMark(painter, chart::itemFrame(item, chart::columnShift(in.state, in.options)), palette());
}

void ChartArea::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton && chart::hitTest(at.x(), at.y()).row > 0) {
        cursor_ = chart::hitTest(at.x(), at.y());
        update();
    }
    emit released(at, event->button());
}

void ChartArea::keyPressEvent(QKeyEvent* event) {
    const bool plain = event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier;
    if (!inputs_ || !plain) {
        QWidget::keyPressEvent(event);
        return;
    }
    const chart::PaintInputs in = inputs_();
    const auto move = [&](chart::CursorMove m) {
        cursor_ = chart::moveCursor(in.state, in.showingChanged, cursor_, m);
        update();
    };
    switch (event->key()) {
    case Qt::Key_Up: move(chart::CursorMove::Up); break;
    case Qt::Key_Down: move(chart::CursorMove::Down); break;
    case Qt::Key_Left: move(chart::CursorMove::Left); break;
    case Qt::Key_Right: move(chart::CursorMove::Right); break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        cursor_ = chart::settleCursor(in.state, in.showingChanged, cursor_);
        if (cursor_.row > 0) emit released(chart::itemPoint(cursor_), Qt::LeftButton);
        break;
    case Qt::Key_Escape: emit escapePressed(); break;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

}  // namespace ui
