#pragma once
// The school choices: where the classical books disagree, the practitioner picks the table a rule
// follows. Each default is the program's long-standing behaviour. Stored in the settings table;
// given on the command line as --school KEY=VALUE.
#include <QString>
#include <QStringList>
#include <optional>

#include "chart/chart_state.h"

namespace reading {

struct Schools {
    // 用神两现: the order of 《卜筮正宗》/《增删卜易》 (持世, 临月日, 月破, 旬空, 发动, 旺相, 近世),
    // or the 古法 that 《增删卜易》 quotes (旺相, 发动, not 月破, not 旬空, 近世). Key "multi".
    enum class MultipleUseGods { Standard, Ancient } multipleUseGods = MultipleUseGods::Standard;
    // 土's tomb: 辰 (default) or 戌. Key "earth-tomb".
    enum class EarthTomb { Chen, Xu } earthTomb = EarthTomb::Chen;
    // 贵人 verse: the program's table (庚辛逢马虎), or 甲戊庚牛羊. Key "noble".
    enum class NobleVerse { Program, JiaWuGengNiuYang } nobleVerse = NobleVerse::Program;
    // Names of the strength states: 旺相衰休囚 (default) or the classical 旺相休囚死. Key "seasons".
    enum class SeasonNames { Program, Classical } seasonNames = SeasonNames::Program;
    // 进神/退神: eight pairs with 戌↔丑 (default) or seven without it. Key "advance".
    enum class AdvancePairs { Eight, Seven } advancePairs = AdvancePairs::Eight;
    // 羊刃 of the yin stems: the branch after the 禄 (default), counted backward, or none. Key "blade".
    enum class YinBlade { After, Backward, None } yinBlade = YinBlade::After;
    // 驿马, 桃花, 华盖, 劫煞, 灾煞 from the day branch (default) or the year branch. Key "horse".
    enum class HorseFrom { Day, Year } horseFrom = HorseFrom::Day;
    // 子时: 23:00-24:00 keeps the day pillar (default), or 早子时: the day changes at 23:00. Key "zi-hour".
    enum class ZiHour { Late, Early } ziHour = ZiHour::Late;
    // 梅花 by time: the year branch changes at the lunar new year (default) or at 立春. Key "plum-year".
    enum class PlumYear { LunarNewYear, Lichun } plumYear = PlumYear::LunarNewYear;
    // 梅花 by time: a leap month counts as its month (default) or, from its 16th day, as the next.
    // Key "plum-leap".
    enum class PlumLeap { AsItsMonth, NextFromSixteenth } plumLeap = PlumLeap::AsItsMonth;
    // 梅花 by three numbers: the moving line from the third (default) or from the sum of all
    // three. Key "plum-third".
    enum class PlumThird { Own, Sum } plumThird = PlumThird::Own;

    bool operator==(const Schools&) const = default;
};

// Applies one "KEY=VALUE" to schools; the problem (naming the allowed keys or values) when it
// cannot be read.
std::optional<QString> applySchool(const QString& keyValue, Schools& schools);
// Every key with its allowed values, for help texts ("multi=standard|ancient", ...).
QStringList schoolChoices();

// Every choice as "KEY=VALUE" separated by spaces, the form the settings keep; and back, where a
// pair that cannot be read (a choice of a later version, a damaged row) keeps its default.
QString schoolsText(const Schools& schools);
Schools schoolsFromText(const QString& text);

// The choices the chart and the analysis read.
chart::ChartSchools chartSchools(const Schools& schools);

}  // namespace reading
