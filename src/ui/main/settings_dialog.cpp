#include "ui/main/settings_dialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "calendar/calendar_source.h"
#include "ui/common/accessible_names.h"
#include "workbench/workbench.h"

namespace ui {

SettingsDialog::SettingsDialog(workbench::Workbench& bench, QWidget* parent) : QDialog(parent), bench_(bench) {
    setObjectName(QStringLiteral("SettingsDialog"));
    setWindowTitle(QStringLiteral("设置"));

    auto* terms = new QGroupBox(QStringLiteral("节气算法"), this);
    terms->setObjectName(QStringLiteral("CalendarSourceGroup"));
    formulaRadio_ = new QRadioButton(QStringLiteral("公式(默认)"), terms);
    formulaRadio_->setObjectName(QStringLiteral("FormulaRadio"));
    astronomicalRadio_ = new QRadioButton(QStringLiteral("天文"), terms);
    astronomicalRadio_->setObjectName(QStringLiteral("AstronomicalRadio"));
    auto* note =
        new QLabel(QStringLiteral("天文：节气和朔日按太阳、月亮的视位置计算（%1—%2年），四柱的节气文字带“天”字；"
                                  "范围之外仍用公式。已存卦例的排盘按此处的选择重新计算。")
                       .arg(cal::kAstronomicalFirstYear)
                       .arg(cal::kAstronomicalLastYear),
                   terms);
    note->setObjectName(QStringLiteral("CalendarSourceNote"));
    note->setWordWrap(true);
    auto* termsLayout = new QVBoxLayout(terms);
    termsLayout->addWidget(formulaRadio_);
    termsLayout->addWidget(astronomicalRadio_);
    termsLayout->addWidget(note);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("OkButton"));
    QPushButton* cancel = buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &SettingsDialog::apply);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(terms);
    layout->addWidget(buttons);
    setMinimumWidth(360);

    const bool astronomical = bench_.calendarSource() == cal::CalendarSource::Astronomical;
    (astronomical ? astronomicalRadio_ : formulaRadio_)->setChecked(true);
    nameControlsByCaption(this);
}

void SettingsDialog::apply() {
    bench_.setCalendarSource(astronomicalRadio_->isChecked() ? cal::CalendarSource::Astronomical
                                                             : cal::CalendarSource::Formula);
    accept();
}

}  // namespace ui
