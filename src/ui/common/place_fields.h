#pragma once
// The place of a cast and the clock of its pillars as three controls: longitude, time zone and
// 北京时间 / 真太阳时. Used by 设置 (the default place) and the casting dialog (one cast).
#include <QWidget>

#include "chart/cast_place.h"

class QComboBox;
class QDoubleSpinBox;
class QRadioButton;

namespace ui {

class PlaceFields : public QWidget {
    Q_OBJECT
public:
    explicit PlaceFields(QWidget* parent = nullptr);

    // The place shown; an unknown zone typed into the box keeps the last known one.
    chart::CastPlace place() const;
    void setPlace(const chart::CastPlace& place);

signals:
    void placeChanged();

private:
    QDoubleSpinBox* longitude_ = nullptr;
    QComboBox* zone_ = nullptr;
    QRadioButton* beijing_ = nullptr;
    QRadioButton* solar_ = nullptr;
    bool setting_ = false;
};

}  // namespace ui
