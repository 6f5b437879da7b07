#pragma once
// 梅花易数 casts: by the time (时间起卦) and by numbers (数字起卦, 报数). The trigrams are taken by
// their 先天 numbers 乾1 兑2 离3 震4 巽5 坎6 艮7 坤8 from a sum modulo 8, the moving line from a
// sum modulo 6, a remainder 0 counting as 8 and 6.
#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>
#include <array>
#include <optional>
#include <variant>

#include "calendar/calendar_source.h"
#include "reading/schools.h"

namespace casting {

// Upper and lower trigram by 先天 number (1..8) and the moving line counted from the bottom (1..6).
struct PlumHexagram {
    int upper = 0;
    int lower = 0;
    int moving = 0;
    // The line codes, top line first: 1 young yang, 2 young yin, 3 and 4 for the moving line.
    std::array<int, 6> codesTopFirst() const;
    bool operator==(const PlumHexagram&) const = default;
};
// The hexagram of three sums (any non-negative residues will do: only mod 8 and mod 6 count).
PlumHexagram plumHexagram(int upperSum, int lowerSum, int movingSum);

// 子 1 .. 亥 12 of a clock time; 子 runs 23:00-00:59.
int hourBranchNumber(const QTime& time);

// The numbers a time cast adds up, kept to show the working.
struct PlumTimeCast {
    int lunarYear = 0;   // the year whose branch counts
    int yearBranch = 0;  // 子 1 .. 亥 12
    int month = 0;       // the month number counted (a leap month as the school says)
    bool leapMonth = false;
    int day = 0;
    int hourBranch = 0;
    PlumHexagram hexagram;
};
// Upper (year + month + day) mod 8, lower (that + hour) mod 8, moving (that + hour) mod 6, from
// the lunar date of the cast; from 23:00 the next day's lunar date counts. The schools plum-year
// and plum-leap decide the year and a leap month. None outside the calendar's dates.
std::optional<PlumTimeCast> castByTime(const QDate& date, const QTime& time, cal::CalendarSource source,
                                       const reading::Schools& schools);

// A decimal text of any length modulo m, digit by digit; none when it is empty or holds a non-digit.
std::optional<int> decimalResidue(QStringView digits, int modulus);

// Two numbers (upper, lower; moving from their sum, plus hourNumber when it is not 0) or three
// (upper, lower, moving from the third or, by the school, from the sum of all three). The
// message for the user when the numbers cannot be used.
std::variant<PlumHexagram, QString> castByNumbers(const QStringList& numbers, int hourNumber,
                                                  const reading::Schools& schools);

// "泽火革" style names through the catalogue are the caller's; this gives 乾 .. 坤 of a number.
QString trigramName(int number);

}  // namespace casting
