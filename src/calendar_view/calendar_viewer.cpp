#include "calendar_view/calendar_viewer.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "calendar/calendar_rows.h"
#include "calendar/civil_date.h"
#include "app/widget_place.h"

namespace calendar_view {
namespace {

using app::place;

QString text(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

CalendarViewer::CalendarViewer(std::function<QDate()> today, std::function<void(QDate)> useDate, QWidget* parent)
    : QDialog(parent), today_(std::move(today)), useDate_(std::move(useDate)) {
    setObjectName(QStringLiteral("TForm4"));
    setWindowTitle(QStringLiteral("天干地支查看"));
    setFixedSize(760, 460);
    yearList = place<QListWidget>(this, "ListBox1", 8, 36, 120, 370);
    monthList = place<QListWidget>(this, "ListBox2", 136, 36, 170, 370);
    dayList = place<QListWidget>(this, "ListBox3", 314, 36, 438, 370);
    pickedLabel = place<QLabel>(this, "Label1", 8, 8, 400, 22);
    pickedLabel->setText(QStringLiteral("公历"));
    place<QLabel>(this, "Label2", 8, 418, 400, 22)->setText(QStringLiteral("请先选择年来查看月，再选择月来查看日"));
    useButton = place<QPushButton>(this, "Button1", 560, 416, 92, 28);
    useButton->setText(QStringLiteral("使用此日期"));
    closeButton = place<QPushButton>(this, "Button2", 660, 416, 92, 28);
    closeButton->setText(QStringLiteral("关闭"));

    connect(yearList, &QListWidget::itemClicked, this, [this] {
        fillMonths();
        monthList->setCurrentRow(0);
        fillDays();
    });
    connect(monthList, &QListWidget::itemClicked, this, &CalendarViewer::fillDays);
    connect(dayList, &QListWidget::itemClicked, this, &CalendarViewer::showPicked);
    connect(useButton, &QPushButton::clicked, this, &CalendarViewer::useSelectedDate);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::close);
}

void CalendarViewer::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    yearList->clear();
    for (int y = kFirstYear; y <= kLastYear; ++y) yearList->addItem(text(cal::year_row_text(y)));
    // A today outside the list selects the nearest year of it.
    const QDate today = today_();
    const int year = std::clamp(today.year(), kFirstYear, kLastYear);
    const bool inside = year == today.year();
    yearList->setCurrentRow(year - kFirstYear);
    fillMonths();
    monthList->setCurrentRow(inside ? today.month() - 1 : 0);
    fillDays();
    dayList->setCurrentRow(inside ? today.day() - 1 : 0);
    showPicked();
}

void CalendarViewer::fillMonths() {
    const int year = kFirstYear + yearList->currentRow();
    monthList->clear();
    for (int m = 1; m <= 12; ++m) monthList->addItem(text(cal::month_row_text(year, m)));
}

void CalendarViewer::fillDays() {
    const int year = kFirstYear + yearList->currentRow();
    const int month = monthList->currentRow() + 1;
    dayList->clear();
    for (int d = 1; d <= cal::days_in_month(year, month); ++d) dayList->addItem(text(cal::day_row_text(year, month, d)));
    dayList->setCurrentRow(0);
    showPicked();
}

QDate CalendarViewer::selectedDate() const {
    if (yearList->currentRow() < 0 || monthList->currentRow() < 0 || dayList->currentRow() < 0) return {};
    return {kFirstYear + yearList->currentRow(), monthList->currentRow() + 1, dayList->currentRow() + 1};
}

void CalendarViewer::showPicked() {
    const QDate d = selectedDate();
    if (!d.isValid()) return;
    pickedLabel->setText(QStringLiteral("当前选择的公历为：%1年%2月%3日").arg(d.year()).arg(d.month()).arg(d.day()));
}

void CalendarViewer::useSelectedDate() {
    const QDate d = selectedDate();
    if (!d.isValid()) return;
    if (useDate_) useDate_(d);
    accept();
}

}  // namespace calendar_view
