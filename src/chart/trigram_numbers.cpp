#include "chart/trigram_numbers.h"

#include <array>

namespace chart {
namespace {

const QString kTrigrams = QStringLiteral("乾兑离震巽坎艮坤中");
constexpr std::array<int, 9> kXiantianOrdinals = {1, 2, 3, 4, 5, 6, 7, 8, 0};
constexpr std::array<int, 9> kHoutianOrdinals = {6, 7, 9, 3, 4, 1, 8, 2, 5};
const std::array<const char16_t*, 9> kXiantianDirections = {u"南", u"东南", u"东", u"东北", u"西南",
                                                            u"西", u"西北", u"北", u""};
const std::array<const char16_t*, 9> kHoutianDirections = {u"西北", u"西",   u"南",   u"东", u"东南",
                                                           u"北",   u"东北", u"西南", u"中"};

}  // namespace

int trigramOrdinal(QChar trigram, TrigramBasis basis) {
    const qsizetype i = kTrigrams.indexOf(trigram);
    if (i < 0 || trigram.isNull()) return 0;
    return basis == TrigramBasis::Xiantian ? kXiantianOrdinals[std::size_t(i)] : kHoutianOrdinals[std::size_t(i)];
}

QString trigramDirection(QChar trigram, TrigramBasis basis) {
    const qsizetype i = kTrigrams.indexOf(trigram);
    if (i < 0 || trigram.isNull()) return {};
    return QString::fromUtf16(basis == TrigramBasis::Xiantian ? kXiantianDirections[std::size_t(i)]
                                                              : kHoutianDirections[std::size_t(i)]);
}

}  // namespace chart
