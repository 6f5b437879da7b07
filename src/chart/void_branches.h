#pragma once
// The void (旬空) branches of the ten-day week and the day they leave the void.
#include <QDate>
#include <QString>

#include "chart/chart_state.h"

namespace chart {

// "甲子旬内(戌亥空)" for the week of the date, setting the void pair; empty (pair unchanged)
// when no week opens within twelve days back.
QString weekVoid(const QDate& date, std::array<QChar, 2>& voidPair);
// "yyyy-mm-dd 出空": the next day after the date that opens a week; empty when none.
QString leavingVoidDate(const QDate& date);
// "(戌亥空)" for a day pillar such as 甲子; empty when it is no pillar.
QString voidTextOfPillar(const QString& pillar);
// Week of a short pillar: the first slot's stem and the second slot's branch give the week;
// sets the void pair and returns e.g. "甲戌旬（申酉空）". Empty, pair unchanged, otherwise.
QString shortPillarVoid(const QString& firstSlot, const QString& secondSlot, std::array<QChar, 2>& voidPair);
// Void text as every drawing sets it under the default basis: week text, a blank, leaving date.
QString voidLabelText(const QDate& date, std::array<QChar, 2>& voidPair);

}  // namespace chart
