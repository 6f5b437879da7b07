#pragma once
// The drawing area of the main window (PaintBox1): paints the chart and reports mouse releases.
// It takes the keyboard: with the focus it shows a frame and a cursor on one line item; the
// arrow keys move the cursor, Enter or Space clicks the item, Escape asks to clear the colours.
#include <QWidget>
#include <functional>

#include "chart_drawing/chart_painter.h"

namespace ui {

class ChartArea : public QWidget {
    Q_OBJECT
public:
    explicit ChartArea(QWidget* parent = nullptr);
    // Builds the painter's inputs each time the area is painted.
    void setPaintInputs(std::function<chart::PaintInputs()> inputs) { inputs_ = std::move(inputs); }
    // The item under the keyboard cursor, on an item the chart draws (row 0: none).
    chart::ChartHit cursor() const;
    // Off while the area is copied as a picture: no focus frame or cursor in the copy.
    void setFocusMarksShown(bool on) { marksShown_ = on; }

signals:
    void released(QPoint position, Qt::MouseButton button);
    void escapePressed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void paintFocusMarks(QPainter& painter, const chart::PaintInputs& in);

    std::function<chart::PaintInputs()> inputs_;
    chart::ChartHit cursor_{1, 2};
    bool marksShown_ = true;
};

}  // namespace ui
