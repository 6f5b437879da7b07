// The settings: what a fresh database holds, where each option is written and how it is encoded.
#include "store/settings.h"

#include <gtest/gtest.h>

namespace {

using store::Settings;
namespace setting = store::setting;

QString column(store::Database& db, int row, const char* name) {
    return db.getFirstString(QStringLiteral("select %1 from zhi where id=?").arg(QLatin1String(name)), {row});
}

TEST(Settings, FreshDatabaseShowsHighlightsStemsAndAnnotations) {
    auto db = store::Database::openInMemory();
    const Settings s(*db);
    EXPECT_TRUE(s.get(setting::highlightClashes));
    EXPECT_FALSE(s.get(setting::showAllChanged));
    EXPECT_TRUE(s.get(setting::showStems));
    EXPECT_TRUE(s.get(setting::showAnnotations));
    EXPECT_EQ(s.get(setting::castingMethod), 0);
    EXPECT_TRUE(s.get(setting::loginName).isEmpty());
    EXPECT_FALSE(s.get(setting::rememberLogin));
}

TEST(Settings, OptionsAreWrittenToTheirColumns) {
    auto db = store::Database::openInMemory();
    Settings settings(*db);
    settings.set(setting::highlightClashes, false);
    settings.set(setting::showAllChanged, true);
    settings.set(setting::showStems, false);
    settings.set(setting::showAnnotations, false);
    EXPECT_EQ(column(*db, 85, "value1"), "0");
    EXPECT_EQ(column(*db, 85, "value3"), "1");
    EXPECT_EQ(column(*db, 85, "value4"), "0");
    EXPECT_EQ(column(*db, 85, "value15"), "1");  // annotations stored inverted
    EXPECT_FALSE(settings.get(setting::highlightClashes));
    EXPECT_TRUE(settings.get(setting::showAllChanged));
    EXPECT_FALSE(settings.get(setting::showStems));
    EXPECT_FALSE(settings.get(setting::showAnnotations));
    settings.set(setting::showAnnotations, true);
    EXPECT_EQ(column(*db, 85, "value15"), "0");
}

TEST(Settings, StemsShowUnlessTheValueIsZero) {
    auto db = store::Database::openInMemory();
    for (const char* value : {"1", "", "x"}) {
        db->execute(QStringLiteral("update zhi set value4=? where id=85"), {QString::fromLatin1(value)});
        EXPECT_TRUE(Settings(*db).get(setting::showStems)) << value;
    }
    db->execute(QStringLiteral("update zhi set value4=null where id=85"));
    EXPECT_TRUE(Settings(*db).get(setting::showStems));
}

TEST(Settings, MissingRowsGiveTheDefaults) {
    auto db = store::Database::openInMemory();
    db->execute(QStringLiteral("delete from zhi where id in (85,86,88)"));
    const Settings s(*db);
    EXPECT_FALSE(s.get(setting::highlightClashes));
    EXPECT_TRUE(s.get(setting::showStems));
    EXPECT_TRUE(s.get(setting::showAnnotations));
    EXPECT_EQ(s.get(setting::castingMethod), 0);
    EXPECT_EQ(s.get(setting::loginPassword), QString());
}

TEST(Settings, CastingMethodAndRememberedLogin) {
    auto db = store::Database::openInMemory();
    Settings settings(*db);
    settings.set(setting::castingMethod, qint64(store::ChartStyle::Zangshan));
    EXPECT_EQ(column(*db, 86, "value15"), "2");
    settings.set(setting::loginName, QStringLiteral("张'三"));
    settings.set(setting::loginPassword, QStringLiteral("p%w'd"));
    settings.set(setting::rememberLogin, true);
    EXPECT_EQ(column(*db, 88, "value1"), QStringLiteral("张'三"));
    EXPECT_EQ(column(*db, 88, "value2"), QStringLiteral("p%w'd"));
    EXPECT_EQ(column(*db, 88, "value4"), "1");
    settings.set(setting::rememberLogin, false);
    EXPECT_FALSE(settings.get(setting::rememberLogin));
    EXPECT_EQ(settings.get(setting::loginName), QStringLiteral("张'三"));
}

TEST(Settings, SettingsRowsAreKeptOutOfTheKnowledgeRows) {
    for (int row : {85, 86, 88}) EXPECT_TRUE(store::isSettingsRow(row)) << row;
    for (int row : {1, 84, 87, 89}) EXPECT_FALSE(store::isSettingsRow(row)) << row;
}

// 界面语言 is a code in its own column; a database from before the choice follows the system.
TEST(Settings, InterfaceLanguageCodeRoundTrip) {
    auto db = store::Database::openInMemory();
    Settings settings(*db);
    EXPECT_EQ(settings.get(setting::interfaceLanguage), QString());
    for (const char* code : {"zh_TW", "en", "zh_CN", ""}) {
        settings.set(setting::interfaceLanguage, QString::fromLatin1(code));
        EXPECT_EQ(settings.get(setting::interfaceLanguage), QLatin1String(code));
        EXPECT_EQ(column(*db, 86, "value12"), QLatin1String(code));
    }
    EXPECT_EQ(settings.get(setting::castingMethod), 0);  // the row's other settings untouched
}

}  // namespace
