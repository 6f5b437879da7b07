#include "ui/calendar/calendar_viewer.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

#include "calendar/calendar_rows.h"
#include "calendar/civil_date.h"
#include "language/generated_text.h"
#include "ui/calendar/calendar_viewer_layout.h"
#include "ui/calendar/object_names.h"
#include "ui/common/accessible_names.h"
#include "ui/common/widget_place.h"
#include "ui/common/window_fit.h"
#include "workbench/clock.h"
#include "workbench/workbench.h"

namespace ui {
namespace {

namespace layout = calendar_layout;
namespace names = objectnames::calendarviewer;

// The calendar's rows (pillars, lunar dates, terms) in the language shown.
QString text(const std::string& s) { return language::shown(QString::fromStdString(s)); }

}  // namespace

CalendarViewer::CalendarViewer(workbench::Workbench& bench, QWidget* parent) : QDialog(parent), bench_(bench) {
    setObjectName(names::window);
    setWindowTitle(tr("天干地支查看"));
    QWidget* client = scrolledClient(this, layout::kDialog);
    new ScreenFit(this, layout::kDialog, ScreenFit::Placement::KeptInside);
    yearList_ = place<QListWidget>(client, names::yearList, layout::kYears);
    monthList_ = place<QListWidget>(client, names::monthList, layout::kMonths);
    dayList_ = place<QListWidget>(client, names::dayList, layout::kDays);
    pickedLabel_ = place<QLabel>(client, names::pickedLabel, layout::kPicked);
    pickedLabel_->setText(tr("公历"));
    place<QLabel>(client, names::hintLabel, layout::kHint)
        ->setText(tr("请先选择年来查看月，再选择月来查看日"));
    useButton_ = place<QPushButton>(client, names::useButton, layout::kUse);
    useButton_->setText(tr("使用此日期"));
    closeButton_ = place<QPushButton>(client, names::closeButton, layout::kClose);
    closeButton_->setText(tr("关闭"));

    yearList_->setAccessibleName(tr("年"));
    monthList_->setAccessibleName(tr("月"));
    dayList_->setAccessibleName(tr("日"));
    nameControlsByCaption(this);

    // A new current row, by mouse or keyboard, acts as a click on it.
    connect(yearList_, &QListWidget::currentRowChanged, this, &CalendarViewer::yearPicked);
    connect(monthList_, &QListWidget::currentRowChanged, this, &CalendarViewer::monthPicked);
    connect(dayList_, &QListWidget::currentRowChanged, this, &CalendarViewer::showPicked);
    connect(useButton_, &QPushButton::clicked, this, &CalendarViewer::useSelectedDate);
    connect(closeButton_, &QPushButton::clicked, this, &QDialog::close);
    connect(&bench_, &workbench::Workbench::calendarSourceChanged, this, &CalendarViewer::showRowsAgain);
}

void CalendarViewer::showRowsAgain() {
    const int month = monthList_->currentRow();
    const int day = dayList_->currentRow();
    if (yearList_->currentRow() < 0) return;
    const QSignalBlocker keepMonth(monthList_);
    fillMonths();
    monthList_->setCurrentRow(month);
    if (month < 0) return;
    const QSignalBlocker keepDay(dayList_);
    fillDays();
    dayList_->setCurrentRow(day);
    showPicked();
}

void CalendarViewer::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (keepPicked_) return;  // the same viewer shown again the other way: the user's pick stays
    yearList_->clear();
    for (int y = kFirstCalendarYear; y <= kLastCalendarYear; ++y) yearList_->addItem(text(cal::yearRowText(y)));
    // A today outside the list selects the nearest year of it.
    const QDate today = bench_.clock().today();
    const int year = std::clamp(today.year(), kFirstCalendarYear, kLastCalendarYear);
    const bool inside = year == today.year();
    yearList_->setCurrentRow(year - kFirstCalendarYear);
    monthList_->setCurrentRow(inside ? today.month() - 1 : 0);
    dayList_->setCurrentRow(inside ? today.day() - 1 : 0);
}

void CalendarViewer::showModeless() {
    show();
    raise();
    activateWindow();
}

std::optional<QDate> CalendarViewer::pickModally() {
    // A window already shown keeps the modality it was shown with: show it again modally.
    const bool wasOpen = isVisible();
    keepPicked_ = wasOpen;
    if (wasOpen) hide();
    modalRun_ = true;
    const int result = exec();
    modalRun_ = false;
    const QDate picked = selectedDate();
    if (wasOpen) showModeless();
    keepPicked_ = false;
    if (result != QDialog::Accepted) return std::nullopt;
    return picked;
}

void CalendarViewer::yearPicked() {
    if (yearList_->currentRow() < 0) return;
    fillMonths();
    monthList_->setCurrentRow(0);
}

void CalendarViewer::monthPicked() {
    if (monthList_->currentRow() < 0) return;
    fillDays();
}

void CalendarViewer::fillMonths() {
    const int year = kFirstCalendarYear + yearList_->currentRow();
    monthList_->clear();
    for (int m = 1; m <= 12; ++m) monthList_->addItem(text(cal::monthRowText(year, m, bench_.calendarSource())));
}

void CalendarViewer::fillDays() {
    const int year = kFirstCalendarYear + yearList_->currentRow();
    const int month = monthList_->currentRow() + 1;
    dayList_->clear();
    for (int d = 1; d <= cal::daysInMonth(year, month); ++d)
        dayList_->addItem(text(cal::dayRowText(year, month, d, bench_.calendarSource())));
    dayList_->setCurrentRow(0);
    showPicked();
}

QDate CalendarViewer::selectedDate() const {
    if (yearList_->currentRow() < 0 || monthList_->currentRow() < 0 || dayList_->currentRow() < 0) return {};
    return {kFirstCalendarYear + yearList_->currentRow(), monthList_->currentRow() + 1, dayList_->currentRow() + 1};
}

void CalendarViewer::showPicked() {
    const QDate d = selectedDate();
    if (!d.isValid()) return;
    pickedLabel_->setText(tr("当前选择的公历为：%1年%2月%3日").arg(d.year()).arg(d.month()).arg(d.day()));
}

void CalendarViewer::useSelectedDate() {
    const QDate d = selectedDate();
    if (!d.isValid()) return;
    bench_.useCastDate(d);
    // Only a modal showing ends here; the window opened without blocking stays open.
    if (modalRun_)
        accept();
    else
        setResult(QDialog::Accepted);
}

}  // namespace ui
