#include "ui/common/place_fields.h"

#include "ui/common/object_names.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QTimeZone>

namespace ui {

PlaceFields::PlaceFields(QWidget* parent) : QWidget(parent) {
    longitude_ = new QDoubleSpinBox(this);
    longitude_->setObjectName(objectnames::placefields::longitudeBox);
    longitude_->setRange(-180, 180);
    longitude_->setDecimals(2);
    longitude_->setSuffix(QStringLiteral("°"));
    longitude_->setAccessibleName(tr("经度"));
    longitude_->setToolTip(tr("起卦地点的经度，东经为正、西经为负"));
    zone_ = new QComboBox(this);
    zone_->setObjectName(objectnames::placefields::timeZoneBox);
    zone_->setEditable(true);
    zone_->setInsertPolicy(QComboBox::NoInsert);
    for (const QByteArray& id : QTimeZone::availableTimeZoneIds()) zone_->addItem(QString::fromUtf8(id));
    zone_->setAccessibleName(tr("时区"));
    zone_->setToolTip(tr("起卦时钟表所用的时区，如 Europe/Berlin；卦例的时间是当地钟表时间"));
    beijing_ = new QRadioButton(tr("北京时间"), this);
    beijing_->setObjectName(objectnames::placefields::beijingTimeRadio);
    beijing_->setToolTip(tr("四柱按当地钟表时间换算的北京时间（东八区）起"));
    solar_ = new QRadioButton(tr("真太阳时"), this);
    solar_->setObjectName(objectnames::placefields::trueSolarTimeRadio);
    solar_->setToolTip(tr("四柱按当地真太阳时起：经度所定的地方平时加上时差（均时差）"));

    auto* rule = new QHBoxLayout;
    rule->addWidget(beijing_);
    rule->addWidget(solar_);
    rule->addStretch();
    auto* form = new QFormLayout(this);
    form->setContentsMargins(0, 0, 0, 0);
    form->addRow(tr("经度："), longitude_);
    form->addRow(tr("时区："), zone_);
    form->addRow(tr("四柱按："), rule);
    setPlace({});

    const auto changed = [this] {
        if (!setting_) emit placeChanged();
    };
    connect(longitude_, &QDoubleSpinBox::valueChanged, this, changed);
    connect(zone_, &QComboBox::currentTextChanged, this, changed);
    connect(beijing_, &QRadioButton::toggled, this, changed);
}

chart::CastPlace PlaceFields::place() const {
    chart::CastPlace out;
    out.longitude = longitude_->value();
    const QByteArray zone = zone_->currentText().trimmed().toUtf8();
    if (QTimeZone::isTimeZoneIdAvailable(zone)) out.zone = zone;
    out.rule = solar_->isChecked() ? chart::TimeRule::Solar : chart::TimeRule::Beijing;
    return out;
}

void PlaceFields::setPlace(const chart::CastPlace& place) {
    setting_ = true;
    longitude_->setValue(place.longitude);
    zone_->setCurrentText(QString::fromUtf8(place.zone));
    (place.rule == chart::TimeRule::Solar ? solar_ : beijing_)->setChecked(true);
    setting_ = false;
}

}  // namespace ui
