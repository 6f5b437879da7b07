// Stepping through the cases seen in this run.
#include "store/case_history.h"

#include <gtest/gtest.h>

namespace {

using store::CaseHistory;

TEST(CaseHistory, StepsBackAndForthThroughThreeCases) {
    CaseHistory history;
    for (qint64 id : {1, 2, 3}) history.append(CaseHistory::localEntry(id));
    ASSERT_EQ(history.historyPosition(), 2);
    EXPECT_EQ(history.stepBack(), QStringLiteral("2(本地)"));
    EXPECT_EQ(history.stepBack(), QStringLiteral("1(本地)"));
    EXPECT_EQ(history.stepBack(), std::nullopt);  // 已经到最前面。
    EXPECT_EQ(history.historyPosition(), 0);
    EXPECT_EQ(history.stepForward(), QStringLiteral("2(本地)"));
    EXPECT_EQ(history.stepForward(), QStringLiteral("3(本地)"));
    EXPECT_EQ(history.stepForward(), std::nullopt);  // 已经到最后面。
    EXPECT_EQ(history.historyPosition(), 2);
}

TEST(CaseHistory, EmptyHistoryStepsNowhere) {
    CaseHistory history;
    EXPECT_EQ(history.historyPosition(), -1);
    EXPECT_EQ(history.stepBack(), std::nullopt);
    EXPECT_EQ(history.stepForward(), std::nullopt);
    EXPECT_EQ(history.historyPosition(), -1);
}

TEST(CaseHistory, RuleAAlwaysAppendsRuleBOnlyNewEntries) {
    CaseHistory history;
    history.append(QStringLiteral("5(本地)"));
    history.append(QStringLiteral("5(本地)"));           // picked twice from the recent list
    history.appendIfMissing(QStringLiteral("5(本地)"));  // opened again from the browser
    history.appendIfMissing(QStringLiteral("12(本地)"));
    history.appendIfMissing(QStringLiteral("12(网络)"));  // same number, other store
    EXPECT_EQ(history.entries(), (QStringList{"5(本地)", "5(本地)", "12(本地)", "12(网络)"}));
    EXPECT_EQ(history.historyPosition(), 3);
}

TEST(CaseHistory, OpeningACaseMidwayAppendsAtTheEndAndAdvancesByOne) {
    CaseHistory history;
    for (qint64 id : {1, 2, 3}) history.append(CaseHistory::localEntry(id));
    history.stepBack();
    history.stepBack();
    history.appendIfMissing(CaseHistory::localEntry(9));
    EXPECT_EQ(history.entries().last(), QStringLiteral("9(本地)"));
    EXPECT_EQ(history.historyPosition(), 1);
}

TEST(CaseHistory, TargetsOfEntries) {
    struct Case {
        const char* entry;
        bool valid;
        qint64 id;
        bool local;
    };
    for (const Case& c : {Case{"12(本地)", true, 12, true}, Case{"12(网络)", true, 12, false},
                          Case{"(本地)", false, 0, false}, Case{"x1(本地)", false, 0, false}}) {
        const auto target = CaseHistory::targetOf(QString::fromUtf8(c.entry));
        ASSERT_EQ(target.has_value(), c.valid) << c.entry;
        if (!target) continue;
        EXPECT_EQ(target->id, c.id);
        EXPECT_EQ(target->local, c.local);
    }
}

}  // namespace
