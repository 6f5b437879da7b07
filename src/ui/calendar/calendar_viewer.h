#pragma once
// The stems-branches calendar "天干地支查看": the years the calendar stands behind (1900..2100,
// supported_range.h, the range the casting dialog's date pickers keep to), their months and days with
// pillars, weekday, lunar date and solar term; "使用此日期" makes the picked day the cast date
// of the current case.
#include <QDate>
#include <QDialog>
#include <optional>

#include "calendar/supported_range.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace workbench {
class Workbench;
}

namespace ui {

inline constexpr int kFirstCalendarYear = cal::kFirstSupportedDate.year;
inline constexpr int kLastCalendarYear = cal::kLastSupportedDate.year;

class CalendarViewer : public QDialog {
    Q_OBJECT
public:
    explicit CalendarViewer(workbench::Workbench& bench, QWidget* parent = nullptr);

    // The day picked in the three lists (invalid until one is).
    QDate selectedDate() const;
    // Shown without blocking ("查看万年历"): brought forward when already open.
    void showModeless();
    // Shown modally (the casting dialog's "查看干支纪年"), also when it is already open without
    // blocking: the day used with "使用此日期", or none when closed. A viewer that was open
    // without blocking is open so again afterwards.
    std::optional<QDate> pickModally();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void yearPicked();
    void monthPicked();
    void fillMonths();
    void fillDays();
    // The month and day rows written again under the current calendar source, the picks kept.
    void showRowsAgain();
    void showPicked();
    void useSelectedDate();

    workbench::Workbench& bench_;
    bool modalRun_ = false;
    bool keepPicked_ = false;
    // Controls by role; their objectNames are in object_names.h.
    QListWidget* yearList_ = nullptr;
    QListWidget* monthList_ = nullptr;
    QListWidget* dayList_ = nullptr;
    QLabel* pickedLabel_ = nullptr;
    QPushButton* useButton_ = nullptr;    // "使用此日期"
    QPushButton* closeButton_ = nullptr;  // "关闭"
};

}  // namespace ui
