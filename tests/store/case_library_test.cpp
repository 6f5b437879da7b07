// Owning the cases: deleting and moving a case, adding and deleting categories, and category
// names that must be unique as a whole.
#include "store/case_categories.h"
#include "store/case_lists.h"
#include "store/case_store.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

namespace {

using store::CaseCategories;
using store::CaseHistory;

// Counts the case service would see; a local delete must never reach it.
class CountingCloud : public store::CloudCases {
public:
    int calls = 0;
    QString saveNewCase(const store::CaseRecord&) override {
        ++calls;
        return QStringLiteral("ok");
    }
    QString saveTexts(const store::CaseRecord&, const store::CaseTexts&, store::TextsToSave) override {
        ++calls;
        return QStringLiteral("ok");
    }
};

class CaseLibraryTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::unique_ptr<store::Database> db = store::Database::open(dir.filePath(QStringLiteral("qinglan.db")));
    CaseHistory history;
    store::CaseStore cases{*db, history};
    CaseCategories categories{*db};

    qint64 create(const QString& number, const QString& category = QStringLiteral("求财")) {
        store::CastCase cast;
        cast.hexagramName = QStringLiteral("主卦：天风姤");
        cast.caseNumber = number;
        cast.category = category;
        cast.castDate = QDate(2024, 2, 4);
        cases.createCase(cast);
        return cases.record().caseId;
    }
    qint64 count(const char* where, const QVariantList& values = {}) {
        return db->getFirstInteger(QStringLiteral("select count(*) from gua_table where ") + QLatin1String(where),
                                   values);
    }
};

TEST_F(CaseLibraryTest, DeletingACaseRemovesItFromTheTableTheSearchAndTheHistoryButNotTheCloud) {
    CountingCloud cloud;
    const qint64 a = create(QStringLiteral("20240204111111京房式T:01:00:00"));
    const qint64 b = create(QStringLiteral("20240204222222京房式T:02:00:00"));
    const qint64 c = create(QStringLiteral("20240204333333京房式T:03:00:00"));
    ASSERT_TRUE(
        cases.saveCaseTexts(store::TextsToSave::Judgment, {QStringLiteral("独一无二的断语"), {}}).saved);  // into c
    history.append(CaseHistory::localEntry(b));                                         // b seen twice
    cases.setCloud(&cloud);

    EXPECT_TRUE(cases.deleteCase(c));
    EXPECT_TRUE(cases.deleteCase(b));
    EXPECT_FALSE(cases.deleteCase(b));  // already gone
    EXPECT_EQ(cloud.calls, 0);
    EXPECT_EQ(count("1"), 1);
    EXPECT_EQ(history.entries(), QStringList{CaseHistory::localEntry(a)});
    EXPECT_EQ(history.historyPosition(), 0);
    EXPECT_TRUE(store::CaseLists(*db).searchCases(QStringLiteral("独一无二")).isEmpty());
    // c was the current case: its record is cleared, so saving its texts cannot bring it back.
    EXPECT_EQ(cases.record().saveKey, 0);
    EXPECT_TRUE(cases.record().caseNumber.isEmpty());
    EXPECT_FALSE(cases.saveCaseTexts(store::TextsToSave::Judgment, {QStringLiteral("x"), {}}).saved);
    EXPECT_EQ(count("1"), 1);
}

TEST(CaseHistoryRemove, ThePositionStaysOnTheSameEntryOrTheOneBefore) {
    struct Case {
        QStringList entries;
        int position;
        QString removed;
        QStringList after;
        int positionAfter;
    };
    const Case cases[] = {
        {{"1(本地)", "2(本地)", "3(本地)"}, 2, "1(本地)", {"2(本地)", "3(本地)"}, 1},
        {{"1(本地)", "2(本地)", "3(本地)"}, 1, "2(本地)", {"1(本地)", "3(本地)"}, 0},
        {{"1(本地)", "2(本地)", "3(本地)"}, 0, "3(本地)", {"1(本地)", "2(本地)"}, 0},
        {{"1(本地)", "2(本地)", "1(本地)"}, 2, "1(本地)", {"2(本地)"}, 0},
        {{"1(本地)"}, 0, "1(本地)", {}, -1},
        {{"1(网络)", "1(本地)"}, 1, "1(本地)", {"1(网络)"}, 0},  // the cloud case of the same number stays
    };
    for (const Case& c : cases) {
        CaseHistory history;
        for (const QString& e : c.entries) history.append(e);
        while (history.historyPosition() > c.position) history.stepBack();
        history.remove(c.removed);
        EXPECT_EQ(history.entries(), c.after) << c.entries.join(u',').toStdString() << " - " << c.removed.toStdString();
        EXPECT_EQ(history.historyPosition(), c.positionAfter) << c.entries.join(u',').toStdString();
    }
}

TEST_F(CaseLibraryTest, MovingACaseChangesItsCategoryOnly) {
    const qint64 id = create(QStringLiteral("20240204111111京房式T:01:00:00"));
    const qint64 career = *categories.idOf(QStringLiteral("事业"));
    EXPECT_EQ(cases.moveCase(id, career), std::nullopt);
    EXPECT_EQ(db->getFirstInteger(QStringLiteral("select lei_id from gua_table where id=?"), {id}), career);
    EXPECT_EQ(cases.record().categoryId, QString::number(career));
    EXPECT_TRUE(cases.moveCase(id, 987654).has_value());        // no such category
    EXPECT_TRUE(cases.moveCase(id + 100, career).has_value());  // no such case
    EXPECT_EQ(db->getFirstInteger(QStringLiteral("select lei_id from gua_table where id=?"), {id}), career);
}

TEST_F(CaseLibraryTest, CategoryNamesAreComparedWholeAndLimitedInLength) {
    const QString name32 = QStringLiteral("甲").repeated(32);
    const QString name33 = QStringLiteral("甲").repeated(33);
    const QString emoji32 = QStringLiteral("😀").repeated(32);  // 32 characters, 64 UTF-16 units
    struct Case {
        QString name;
        bool accepted;
    };
    const Case table[] = {
        {name32, true},
        {name33, false},          // longer than the store keeps
        {name32 + u'乙', false},  // also too long
        {emoji32, true},
        {QStringLiteral("求财"), false},  // exists
        {QStringLiteral("求财 "), true},  // another whole name
        {QStringLiteral("求"), true},     // a prefix of an existing name is another name
        {QStringLiteral("   "), false},
        {QString(), false},
    };
    for (const Case& c : table) {
        const store::CategoryChange added = categories.add(c.name);
        EXPECT_EQ(added.done, c.accepted) << c.name.toStdString() << " " << added.problem.toStdString();
        if (added.done) {
            EXPECT_GE(added.categoryId, store::kFirstLocalCategoryId);
            EXPECT_EQ(categories.idOf(c.name), added.categoryId);
        }
    }
    // A name equal to the first 32 characters of a longer existing one is a different name.
    db->execute(QStringLiteral("insert into fenlei_table(lei_id,lei_mingcheng) values(500,?)"),
                {QStringLiteral("乙").repeated(40)});
    EXPECT_EQ(categories.nameProblem(QStringLiteral("乙").repeated(32)), std::nullopt);
    // Renaming a category to its own name is not a clash with itself.
    EXPECT_EQ(categories.nameProblem(QStringLiteral("求财"), *categories.idOf(QStringLiteral("求财"))), std::nullopt);
    EXPECT_TRUE(categories.nameProblem(QStringLiteral("求财"), *categories.idOf(QStringLiteral("事业"))).has_value());
}

TEST_F(CaseLibraryTest, DeletingACategoryRefusesOrMovesItsCasesToMisc) {
    const qint64 misc = *categories.idOf(store::kMiscCategoryName);
    const qint64 empty = categories.add(QStringLiteral("空类")).categoryId;
    const qint64 full = categories.add(QStringLiteral("满类")).categoryId;
    const qint64 a = create(QStringLiteral("20240204111111京房式T:01:00:00"), QStringLiteral("满类"));
    create(QStringLiteral("20240204222222京房式T:02:00:00"), QStringLiteral("满类"));

    EXPECT_TRUE(categories.remove(empty, CaseCategories::CasesInside::Refuse).done);
    EXPECT_EQ(categories.idOf(QStringLiteral("空类")), std::nullopt);

    const store::CategoryChange refused = categories.remove(full, CaseCategories::CasesInside::Refuse);
    EXPECT_FALSE(refused.done);
    EXPECT_TRUE(refused.problem.contains(u'2')) << refused.problem.toStdString();
    EXPECT_EQ(categories.caseCount(full), 2);

    EXPECT_FALSE(categories.remove(misc, CaseCategories::CasesInside::MoveToMisc).done);
    EXPECT_FALSE(categories.remove(987654, CaseCategories::CasesInside::Refuse).done);

    EXPECT_TRUE(categories.remove(full, CaseCategories::CasesInside::MoveToMisc).done);
    EXPECT_EQ(categories.idOf(QStringLiteral("满类")), std::nullopt);
    EXPECT_EQ(count("lei_id=?", {misc}), 2);
    EXPECT_EQ(db->getFirstInteger(QStringLiteral("select lei_id from gua_table where id=?"), {a}), misc);
}

}  // namespace
