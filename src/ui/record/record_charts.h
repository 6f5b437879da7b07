#pragma once
// The charts of the 验证统计 window (Qt Charts): hit rates of groups as bars, the timing error as a
// histogram, the hit rate by quarter as a line. Each shows what the table beside it lists.
#include <QList>

#include "record/practice_record.h"

class QWidget;

namespace ui {

QWidget* hitRateBars(const QList<record::Group>& groups, QWidget* parent);
QWidget* timingHistogram(const record::TimingError& timing, QWidget* parent);
QWidget* quarterLine(const QList<record::Group>& quarters, QWidget* parent);

}  // namespace ui
