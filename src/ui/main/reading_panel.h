#pragma once
// The 断卦辅助 panel beside the chart: the question type of the case on view and its gender, the
// 用神 with its family and candidate dates, the chart's structure and its 神煞. Choosing a 用神
// line (a click, or Enter on it) points at that line on the chart.
#include <QWidget>

class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;

namespace workbench {
class Workbench;
}

namespace ui {

class ReadingPanel : public QWidget {
    Q_OBJECT
public:
    explicit ReadingPanel(workbench::Workbench& bench, QWidget* parent = nullptr);
    // The controls Tab visits, in order.
    QComboBox* questionBox() const { return questionBox_; }
    QListWidget* lines() const { return lines_; }

private:
    // Reads the chart again; a hidden panel waits until it is shown.
    void refresh();
    void choose(QListWidgetItem* item);

    workbench::Workbench& bench_;
    QComboBox* questionBox_ = nullptr;
    QLabel* genderLabel_ = nullptr;
    QListWidget* lines_ = nullptr;
    bool refreshing_ = false;

protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace ui
