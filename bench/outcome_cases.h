#pragma once
// The 100,000 seeded cases with outcomes, dates, question types and genders spread over them.
#include "seeded_cases.h"

namespace bench {

inline store::Database& casesWithOutcomes() {
    static const bool filled = [] {
        shared().db->execute(QStringLiteral(
            "update gua_table set outcome=case id%5 when 0 then 'hit' when 1 then 'partial' when 2 then 'miss' "
            "else 'pending' end, predicted_date=case when id%5<3 then date(printf('%04d-%02d-%02d',nian,yue,ri),"
            "'+'||(id%40)||' days') end, outcome_date=case when id%5<3 then date(printf('%04d-%02d-%02d',nian,yue,ri),"
            "'+'||(id%53)||' days') end, zhanlei=case id%7 when 0 then '求财' when 1 then '婚姻' when 2 then '工作' "
            "when 3 then '自身' when 4 then '疾病' when 5 then '考试' else '' end, xingbie=case id%3 when 0 then '男' "
            "when 1 then '女' else '未知' end"));
        return true;
    }();
    Q_UNUSED(filled);
    return *shared().db;
}

}  // namespace bench
