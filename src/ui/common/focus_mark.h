#pragma once
// The mark a control that takes the keyboard shows while it has the focus: a frame in the
// highlight colour just inside its edge. Labels that act as buttons draw it over their text or
// picture (FocusLabel); the chart draws it around the area and around its cursor.
#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <QPen>

namespace ui {

inline void paintFocusMark(QPainter& painter, const QRect& around, const QPalette& palette) {
    painter.save();
    painter.setPen(QPen(palette.color(QPalette::Highlight), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(around).adjusted(1, 1, -1, -1));
    painter.restore();
}

class FocusLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override {
        QLabel::paintEvent(event);
        if (!hasFocus()) return;
        QPainter painter(this);
        paintFocusMark(painter, rect(), palette());
    }
};

}  // namespace ui
