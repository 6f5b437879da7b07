#pragma once
// The stems-branches calendar "天干地支查看": years 1900..2049, their months and days with
// pillars, weekday, lunar date and solar term; "使用此日期" makes the picked day the cast date.
#include <QDate>
#include <QDialog>
#include <functional>

class QLabel;
class QListWidget;
class QPushButton;

namespace calendar_view {

inline constexpr int kFirstYear = 1900;
inline constexpr int kLastYear = 2049;

class CalendarViewer : public QDialog {
    Q_OBJECT
public:
    // today gives the date selected on showing; useDate lays out the chart again for a date.
    CalendarViewer(std::function<QDate()> today, std::function<void(QDate)> useDate, QWidget* parent = nullptr);

    // The day picked in the three lists (invalid until one is).
    QDate selectedDate() const;

    QListWidget* yearList = nullptr;   // ListBox1
    QListWidget* monthList = nullptr;  // ListBox2
    QListWidget* dayList = nullptr;    // ListBox3
    QLabel* pickedLabel = nullptr;     // Label1
    QPushButton* useButton = nullptr;  // Button1 "使用此日期"
    QPushButton* closeButton = nullptr;  // Button2 "关闭"

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fillMonths();
    void fillDays();
    void showPicked();
    void useSelectedDate();

    std::function<QDate()> today_;
    std::function<void(QDate)> useDate_;
};

}  // namespace calendar_view
