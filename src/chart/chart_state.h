#pragma once
// The one current chart: its six main and six changed lines, the cast moment, the pillar slots
// and every text the build derives for the main window's labels.
#include <QChar>
#include <QDate>
#include <QString>
#include <QTime>
#include <array>

#include "calendar/calendar_source.h"
#include "chart/cast_place.h"
#include "chart/divination_data.h"

namespace chart {

// One line of a hexagram. Text fields keep the character limits of the stored chart:
// hexagramName 4, beast 2, hiddenSpirit 4, relative 2, branchElement 2, changedLine 4.
struct ChartLine {
    QString hexagramName;  // index 0 only
    QString beast;
    QString hiddenSpirit;  // relative + branch + element, e.g. 妻财子水
    QString relative;
    QString branchElement;  // e.g. 子水
    int code = 0;           // 0 none, 1 young yang, 2 young yin, 3 old yang, 4 old yin
    QChar mark = u' ';      // 世, 应 or blank
    QString changedLine;    // main lines only: relative + branch + element of the changed line
};

using Hexagram = std::array<ChartLine, 6>;  // index 0 is the top line

enum class StrengthBasis { MonthDay, YearMonth, DayHour, HourQuarter };
enum class BeastPillar { Year, Month, Day };
enum class TrigramBasis { Xiantian, Houtian };  // 先天, 后天

// The school choices the chart and its analysis follow (the others are read by src/reading);
// each default is the program's long-standing table.
struct ChartSchools {
    bool earlyZiHour = false;          // 早子时: the day pillar changes at 23:00
    bool sevenAdvances = false;        // 进神/退神 without 戌↔丑
    bool jiaWuGengNoble = false;       // 贵人 by 甲戊庚牛羊 rather than 庚辛逢马虎
    bool classicalSeasonNames = false; // 旺相休囚死 rather than 旺相衰休囚
    bool horseFromYear = false;        // 驿马, 桃花 (and the other 三合 spirits) from the year branch

    bool operator==(const ChartSchools&) const = default;
};

// The chart options the main window keeps in its check boxes and radio groups.
struct ChartOptions {
    bool showAllChanged = false;     // 显示全部变爻
    bool showHiddenChanges = false;  // 显示暗动变爻
    bool showStems = true;           // 显示天干
    bool showAnnotations = true;     // 显示标注
    bool highlightClashes = true;    // 卦内冲合变色
    BeastPillar beastPillar = BeastPillar::Day;
    TrigramBasis ordinalBasis = TrigramBasis::Xiantian;
    TrigramBasis directionBasis = TrigramBasis::Houtian;
    bool randomDate = false;  // the casting dialog's 使用随机日期: void from today's date
    // 节气算法: the term formulas (公式, the default) or the ephemeris (天文) for the pillars.
    cal::CalendarSource calendarSource = cal::CalendarSource::Formula;
    ChartSchools schools;
};

struct ChartState {
    Hexagram main;
    Hexagram changed;
    QDate castDate;  // the civil date and clock time at the cast's place
    QTime castTime;
    CastPlace place;  // where, and which clock the pillars follow (cast_place.h)
    QString firstSlot;                                                   // e.g. 丙寅月
    QString secondSlot;                                                  // e.g. 甲子日
    std::array<QChar, 6> stemPairs{u' ', u' ', u' ', u' ', u' ', u' '};  // hidden-spirit source, main, changed
    std::array<QChar, 2> voidPair{u' ', u' '};
    std::array<int, 18> highlight{};  // hidden spirit, main, changed columns of six, top first
    ArrangementMethod method = ArrangementMethod::Jingfang;
    QString hiddenSpiritSource;
    StrengthBasis basis = StrengthBasis::MonthDay;
    cal::CalendarSource calendarSource = cal::CalendarSource::Formula;  // of the pillars shown
    ChartSchools schools;  // the choices the pillars, notes and analysis of this chart follow

    // Texts the build derives; the main window shows them in its labels.
    QString pillarLabel;      // year, month, day pillars, void, date, time, hour and quarter
    QString termText;         // the solar term of the cast day, e.g. 立春16:25
    QString title;            // 主卦：name(tag) 变卦：name(tag)
    QString mainDescription;  // palace description + 序数 + 方位
    QString changedDescription;
    QString monthBranchText;  // polarity and element of the first slot's branch, e.g. 阳水
    QString dayBranchText;
    QString voidText;    // 甲子旬内(戌亥空) 2024-01-11 出空
    QString caseNumber;  // the short case number, 14 characters
    bool hasChanged = false;

    bool isEmpty() const { return main[0].hexagramName.isEmpty() || main[0].code == 0; }
    void clearHighlights() { highlight.fill(0); }
};

QString methodWord(ArrangementMethod method);  // "京房式" or "藏山卜"

}  // namespace chart
