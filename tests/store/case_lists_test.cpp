// The recent list, keyword search, year and month lists and categories over stored cases.
#include "store/case_lists.h"

#include <gtest/gtest.h>

namespace {

using store::CaseLists;
using store::kAllCategories;

class CaseListsTest : public ::testing::Test {
protected:
    std::unique_ptr<store::Database> db = store::Database::openInMemory();
    CaseLists lists{*db};

    qint64 add(int category, int year, int month, const QString& subject, const QString& insertTime,
               const QString& judgment = {}) {
        return db->insert(
            QStringLiteral("insert into gua_table(gua_ming,gua_bianhao,lei_id,nian,yue,ri,shiyou,duanyu,shijian) "
                           "values('乾为天',?,?,?,?,1,?,?,?)"),
            {QStringLiteral("k%1").arg(subject), category, year, month, subject, judgment, insertTime});
    }
    static QList<qint64> ids(const QList<store::CaseListRow>& rows) {
        QList<qint64> out;
        for (const auto& r : rows) out << r.id;
        return out;
    }
};

TEST_F(CaseListsTest, RecentCasesNewestFirstTiesByIdAndCapped) {
    const qint64 a = add(1, 2023, 5, "a", "2023-05-01 10:00:00.000");
    const qint64 b = add(1, 2024, 1, "b", "2024-01-01 10:00:00.000");
    const qint64 c = add(1, 2024, 1, "c", "2024-01-01 10:00:00.000");
    EXPECT_EQ(ids(lists.recentCases()), (QList<qint64>{c, b, a}));
    EXPECT_EQ(ids(lists.recentCases(2)), (QList<qint64>{c, b}));
    EXPECT_EQ(lists.recentCases().first().caseNumber, "kc");
}

TEST_F(CaseListsTest, EmptyDatabaseListsNothing) {
    EXPECT_TRUE(lists.recentCases().isEmpty());
    EXPECT_TRUE(lists.yearList(kAllCategories).isEmpty());
}

TEST_F(CaseListsTest, SearchLooksInFourColumnsLiterallyAndStopsAtTheLimit) {
    const qint64 matter = add(1, 2024, 1, "买房 50%", "2024-01-01 00:00:00.000");
    const qint64 judgment = add(1, 2024, 1, "x", "2024-01-02 00:00:00.000", "断语提到买房");
    add(1, 2024, 1, "买a房", "2024-01-03 00:00:00.000");
    const qint64 underscore = add(1, 2024, 1, "a_b", "2024-01-04 00:00:00.000");
    add(1, 2024, 1, "axb", "2024-01-05 00:00:00.000");
    EXPECT_EQ(ids(lists.searchCases(QStringLiteral("买房"))), (QList<qint64>{judgment, matter}));  // newest first
    EXPECT_EQ(ids(lists.searchCases(QStringLiteral("50%"))), (QList<qint64>{matter}));
    EXPECT_EQ(ids(lists.searchCases(QStringLiteral("a_b"))), (QList<qint64>{underscore}));
    EXPECT_EQ(lists.searchCases(QStringLiteral("乾为天")).size(), 5);  // gua_ming
    for (int i = 0; i < 120; ++i) add(1, 2020, 1, QStringLiteral("多%1").arg(i), "2020-01-01 00:00:00.000");
    EXPECT_EQ(lists.searchCases(QStringLiteral("多")).size(), 100);
}

// The keyword index must follow every insert, update and delete.
TEST_F(CaseListsTest, SearchFollowsChangedTextsForLongAndShortKeywords) {
    const qint64 a = add(1, 2024, 1, QStringLiteral("问\"股票\"涨跌"), "2024-01-01 00:00:00.000", "旧的断语");
    const qint64 b = add(1, 2024, 1, "b", "2024-01-02 00:00:00.000", "ABCdef");
    db->execute(QStringLiteral("update gua_table set duanyu=? where id=?"), {QStringLiteral("新的判断 O'Neil"), a});
    struct Case {
        const char* keyword;
        QList<qint64> expected;
    };
    const Case cases[] = {
        {"旧的断语", {}},  {"旧的", {}},    {"新的判断", {a}}, {"新的", {a}}, {"O'Neil", {a}},
        {"\"股票\"", {a}}, {"ABCdef", {b}}, {"Cde", {b}},      {"断语", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ids(lists.searchCases(QString::fromUtf8(c.keyword))), c.expected) << c.keyword;
    db->execute(QStringLiteral("delete from gua_table where id=?"), {a});
    EXPECT_TRUE(lists.searchCases(QStringLiteral("新的判断")).isEmpty());
}

TEST_F(CaseListsTest, YearsMonthsAndCasesByCategoryOrByTime) {
    const qint64 a = add(2, 2023, 11, "a", "2023-11-01 00:00:00.000");
    const qint64 b = add(3, 2024, 2, "b", "2024-02-01 00:00:00.000");
    const qint64 c = add(2, 2024, 7, "c", "2024-07-01 00:00:00.000");
    const qint64 d = add(3, 2024, 7, "d", "2024-07-02 00:00:00.000");
    EXPECT_EQ(lists.yearList(kAllCategories), (QStringList{"2023", "2024"}));
    EXPECT_EQ(lists.yearList(3), (QStringList{"2024"}));
    EXPECT_EQ(lists.monthList(kAllCategories, 2024), (QStringList{"2", "7"}));
    EXPECT_EQ(lists.monthList(2, 2024), (QStringList{"7"}));
    EXPECT_EQ(ids(lists.casesOfMonth(kAllCategories, 2024, 7)), (QList<qint64>{c, d}));
    EXPECT_EQ(ids(lists.casesOfMonth(3, 2024, 7)), (QList<qint64>{d}));
    EXPECT_EQ(ids(lists.casesOfMonth(2, 2023, 11)), (QList<qint64>{a}));
    EXPECT_TRUE(lists.casesOfMonth(9, 2024, 2).isEmpty());
    (void)b;
}

TEST_F(CaseListsTest, TextsOfOneCaseAndCategoryRename) {
    const qint64 a = add(1, 2024, 1, "a", "2024-01-01 00:00:00.000", "断\n语");
    const auto texts = lists.caseTexts(a);
    ASSERT_TRUE(texts.has_value());
    EXPECT_EQ(texts->judgment, QStringLiteral("断\n语"));
    EXPECT_EQ(texts->feedback, QString());
    EXPECT_FALSE(lists.caseTexts(a + 1).has_value());

    EXPECT_EQ(lists.categoryNames().first(), QStringLiteral("杂类"));
    EXPECT_EQ(lists.categories().size(), 13);
    lists.renameCategory(2, QStringLiteral("求'财"));
    EXPECT_EQ(lists.categories().at(1).categoryName, QStringLiteral("求'财"));
    EXPECT_EQ(lists.categories().at(1).categoryId, 2);
}

}  // namespace
