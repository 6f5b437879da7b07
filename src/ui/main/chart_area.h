#pragma once
// The drawing area of the main window (PaintBox1): paints the chart and reports mouse releases.
#include <QWidget>
#include <functional>

#include "chart/chart_painter.h"

namespace ui {

class ChartArea : public QWidget {
    Q_OBJECT
public:
    explicit ChartArea(QWidget* parent = nullptr);
    // Builds the painter's inputs each time the area is painted.
    void setPaintInputs(std::function<chart::PaintInputs()> inputs) { inputs_ = std::move(inputs); }

signals:
    void released(QPoint position, Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::function<chart::PaintInputs()> inputs_;
};

}  // namespace ui
