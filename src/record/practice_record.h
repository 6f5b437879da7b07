#pragma once
// The record of the stored cases' outcomes: the hit rate (应验 counts 1, 部分应验 ½, over the
// decided cases) overall and grouped six ways, by quarter, the timing error (actual − predicted
// day) and the cases still 待验 long after their cast. Computed from one aggregate pass over
// gua_table; what a case number gives (method, moving lines) is read in that pass, and the 用神
// comes from the question type and gender alone, so no chart is built.
#include <QDate>
#include <QList>
#include <QString>
#include <array>
#include <optional>

#include "store/case_outcome.h"

namespace store {
class Database;
}

namespace record {

struct Tally {
    qint64 total = 0, hits = 0, partial = 0, misses = 0, pending = 0;
    qint64 decided() const { return hits + partial + misses; }
    // (hits + partial / 2) / decided; none without a decided case.
    std::optional<double> hitRate() const;
    void add(store::Outcome outcome, qint64 count);
};

struct Group {
    QString key;
    Tally tally;
};

enum class GroupBy { Question, Category, Year, Relative, Method, Moving };
inline constexpr std::array kGroupings = {GroupBy::Question, GroupBy::Category, GroupBy::Year,
                                          GroupBy::Relative, GroupBy::Method,   GroupBy::Moving};
// The option word ("question") and the heading ("占类") of a grouping; parsing the word.
QString groupByWord(GroupBy by);
QString groupByTitle(GroupBy by);
std::optional<GroupBy> parseGroupBy(const QString& word);

// Days of actual − predicted; from or to is none at an open end.
struct HistogramBin {
    std::optional<int> from, to;
    qint64 count = 0;
};

struct TimingError {
    qint64 count = 0;
    std::optional<double> median;
    QList<HistogramBin> histogram;  // always the same bins, see kTimingEdges
};

// The bins of the timing error: ≤ −31, −30…−15, −14…−8, −7…−4, −3…−1, 0, 1…3, 4…7, 8…14,
// 15…30, ≥ 31 days.
inline constexpr std::array kTimingEdges = {-30, -14, -7, -3, 0, 1, 4, 8, 15, 31};

// A case 待验 whose cast is more than kOverdueDays before today.
inline constexpr int kOverdueDays = 90;
struct PendingCase {
    qint64 id = 0;
    QDate castDate;
    QString caseNumber;  // gua_bianhao
    QString subject;     // shiyou
};

struct PracticeRecord {
    Tally overall;
    std::array<QList<Group>, kGroupings.size()> groups;
    QList<Group> quarters;  // "2025-Q1", every quarter from the first case's to the last one's
    TimingError timing;
    QList<PendingCase> overdue;  // oldest first

    const QList<Group>& groupsBy(GroupBy by) const { return groups[std::size_t(by)]; }
};

struct RecordFilter {
    std::optional<QString> category;  // a category name
    std::optional<QDate> from, to;    // the cast date, both ends included
};

// Group keys: categories by name in id order, all listed ("未分类" for cases without one); the
// question types in the casting dialog's order ("未选占类" last); years ascending ("无日期"
// last); the 用神 父母 兄弟 子孙 妻财 官鬼 世 应 ("未定": no type, or 婚姻 without gender);
// 京房式 and 藏山卜 always ("未知" for a number without its method); moving lines "0"…"6"
// always ("未知" for a malformed number). Question types, years and 用神 are listed when a case
// has them. A category name that names no category throws DatabaseError.
PracticeRecord computeRecord(const store::Database& db, const RecordFilter& filter, const QDate& today);

}  // namespace record
