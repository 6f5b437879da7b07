#pragma once
// Charts laid out by hand for the reading tests: a 金 palace (父母 土, 兄弟 金, 子孙 水, 妻财 木,
// 官鬼 火), lines given from 初爻 up.
#include <QString>
#include <array>

#include "chart/chart_state.h"

struct HandLine {
    const char16_t* item;  // relative + branch + element, e.g. 妻财寅木
    char16_t mark = u' ';
    int code = 1;
    const char16_t* hidden = u"";  // the hidden spirit under it
};

inline chart::ChartState handChart(const std::array<HandLine, 6>& fromBottom, const char16_t* month,
                                   const char16_t* day, const char16_t* voidPair = u"戌亥",
                                   QDate cast = QDate(2026, 9, 29)) {
    chart::ChartState s;
    s.mainDescription = QStringLiteral("乾宫属金 一世卦");
    s.main[0].hexagramName = QStringLiteral("手排");
    for (int p = 1; p <= 6; ++p) {
        chart::ChartLine& line = s.main[6 - p];
        const QString item = QString::fromUtf16(fromBottom[p - 1].item);
        line.relative = item.left(2);
        line.branchElement = item.mid(2);
        line.mark = QChar(fromBottom[p - 1].mark);
        line.code = fromBottom[p - 1].code;
        line.hiddenSpirit = QString::fromUtf16(fromBottom[p - 1].hidden);
    }
    s.firstSlot = QString::fromUtf16(month) + QChar(u'月');
    s.secondSlot = QString::fromUtf16(day) + QChar(u'日');
    s.voidPair = {QChar(voidPair[0]), QChar(voidPair[1])};
    s.castDate = cast;
    return s;
}
