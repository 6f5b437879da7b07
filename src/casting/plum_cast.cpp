#include "casting/plum_cast.h"

#include <QCoreApplication>

#include "calendar/ganzhi.h"
#include "calendar/lunar.h"
#include "calendar/pillars.h"
#include "calendar/supported_range.h"

namespace casting {
namespace {

// Lines of a trigram by 先天 number, bottom line first; true for yang.
constexpr std::array<std::array<bool, 3>, 8> kTrigramLines{{
    {true, true, true},     // 乾
    {true, true, false},    // 兑
    {true, false, true},    // 离
    {true, false, false},   // 震
    {false, true, true},    // 巽
    {false, true, false},   // 坎
    {false, false, true},   // 艮
    {false, false, false},  // 坤
}};

int remainderCounting(int sum, int modulus) {
    const int r = ((sum % modulus) + modulus) % modulus;
    return r == 0 ? modulus : r;
}

}  // namespace

std::array<int, 6> PlumHexagram::codesTopFirst() const {
    std::array<int, 6> codes{};
    for (int fromBottom = 1; fromBottom <= 6; ++fromBottom) {
        const int trigram = fromBottom <= 3 ? lower : upper;
        const bool yang = kTrigramLines[std::size_t(trigram - 1)][std::size_t((fromBottom - 1) % 3)];
        const bool moves = fromBottom == moving;
        codes[std::size_t(6 - fromBottom)] = yang ? (moves ? 3 : 1) : (moves ? 4 : 2);
    }
    return codes;
}

PlumHexagram plumHexagram(int upperSum, int lowerSum, int movingSum) {
    return {remainderCounting(upperSum, 8), remainderCounting(lowerSum, 8), remainderCounting(movingSum, 6)};
}

int hourBranchNumber(const QTime& time) { return time.hour() == 23 ? 1 : (time.hour() + 1) / 2 + 1; }

std::optional<PlumTimeCast> castByTime(const QDate& date, const QTime& time, cal::CalendarSource source,
                                       const reading::Schools& schools) {
    const QDate day = time.hour() == 23 ? date.addDays(1) : date;
    const int y = day.year(), m = day.month(), d = day.day();
    if (!cal::isSupportedDate(date.year(), date.month(), date.day()) || !cal::isSupportedDate(y, m, d))
        return std::nullopt;
    const cal::LunarDate lunar = cal::lunarDate(y, m, d, source);
    if (!lunar.ok) return std::nullopt;

    PlumTimeCast cast;
    cast.leapMonth = lunar.leap;
    cast.day = lunar.day;
    cast.month = lunar.month;
    if (lunar.leap && lunar.day >= 16 && schools.plumLeap == reading::Schools::PlumLeap::NextFromSixteenth)
        cast.month = lunar.month % 12 + 1;
    if (schools.plumYear == reading::Schools::PlumYear::Lichun) {
        const int pillar = cal::yearGanzhi(y, m, d, source);
        cast.lunarYear = pillar == cal::yearGanzhiOfYear(y) ? y : y - 1;
        cast.yearBranch = pillar % cal::kBranchCount + 1;
    } else {
        // January and February days of the eleventh and twelfth months belong to the year before.
        cast.lunarYear = m <= 2 && lunar.month >= 11 ? y - 1 : y;
        cast.yearBranch = cal::yearGanzhiOfYear(cast.lunarYear) % cal::kBranchCount + 1;
    }
    cast.hourBranch = hourBranchNumber(time);
    const int sum = cast.yearBranch + cast.month + cast.day;
    cast.hexagram = plumHexagram(sum, sum + cast.hourBranch, sum + cast.hourBranch);
    return cast;
}

std::optional<int> decimalResidue(QStringView digits, int modulus) {
    if (digits.isEmpty()) return std::nullopt;
    int r = 0;
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9') return std::nullopt;
        r = (r * 10 + (c.unicode() - u'0')) % modulus;
    }
    return r;
}

std::variant<PlumHexagram, QString> castByNumbers(const QStringList& numbers, int hourNumber,
                                                  const reading::Schools& schools) {
    if (numbers.size() != 2 && numbers.size() != 3)
        return QCoreApplication::translate("casting::PlumCast",
                                           "数字起卦要两个或三个数（上卦、下卦，可加第三个数定动爻），现有 %1 个")
            .arg(numbers.size());
    std::array<int, 3> by8{}, by6{};
    for (qsizetype i = 0; i < numbers.size(); ++i) {
        const std::optional<int> r8 = decimalResidue(numbers[i], 8), r6 = decimalResidue(numbers[i], 6);
        if (!r8 || !r6) return QCoreApplication::translate("casting::PlumCast", "“%1”不是非负整数：数字起卦只接受 0-9 组成的数").arg(numbers[i]);
        by8[std::size_t(i)] = *r8;
        by6[std::size_t(i)] = *r6;
    }
    int moving = by6[0] + by6[1];
    if (numbers.size() == 3)
        moving = schools.plumThird == reading::Schools::PlumThird::Sum ? moving + by6[2] : by6[2];
    else
        moving += hourNumber;
    return plumHexagram(by8[0], by8[1], moving);
}

QString trigramName(int number) {
    static const QString kNames = QStringLiteral("乾兑离震巽坎艮坤");
    return number >= 1 && number <= 8 ? QString(kNames.at(number - 1)) : QString();
}

}  // namespace casting
