#pragma once
// The whole record as CSV (UTF-8, RFC 4180 quoting), one section per table with a heading row:
// 总计, each grouping, 按季度, 应期误差 and 久未验证. The 验证统计 window saves it.
#include <QByteArray>

#include "record/practice_record.h"

namespace record {

QByteArray recordCsv(const PracticeRecord& record);
// A hit rate as the tables show it: "62.5%", or "—" without a decided case.
QString hitRateText(const std::optional<double>& rate);
// A histogram bin as the tables show it: "≤ -31", "-30 … -15", "0", "≥ 31".
QString binText(const HistogramBin& bin);

}  // namespace record
