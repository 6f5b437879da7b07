// Settings rows 85, 86 and 88: what a fresh database holds and what the option boxes write.
#include "store/settings_rows.h"

#include <gtest/gtest.h>

namespace {

using store::SettingsRows;

TEST(SettingsRows, FreshDatabaseShowsHighlightsStemsAndAnnotations) {
    auto db = store::Database::openInMemory();
    const store::DisplaySettings s = SettingsRows(*db).displaySettings();
    EXPECT_TRUE(s.highlightClashes);
    EXPECT_FALSE(s.showAllChanged);
    EXPECT_TRUE(s.showStems);
    EXPECT_TRUE(s.showAnnotations);
    EXPECT_EQ(SettingsRows(*db).chartStyle(), 0);
    const store::LoginMemory login = SettingsRows(*db).loginMemory();
    EXPECT_TRUE(login.userName.isEmpty());
    EXPECT_FALSE(login.remember);
}

TEST(SettingsRows, OptionsAreWrittenToTheirColumns) {
    auto db = store::Database::openInMemory();
    SettingsRows settings(*db);
    settings.setHighlightClashes(false);
    settings.setShowAllChanged(true);
    settings.setShowStems(false);
    settings.setShowAnnotations(false);
    const auto row = [&](const char* column) {
        return db->getFirstString(QStringLiteral("select %1 from zhi where id=85").arg(QLatin1String(column)));
    };
    EXPECT_EQ(row("value1"), "0");
    EXPECT_EQ(row("value3"), "1");
    EXPECT_EQ(row("value4"), "0");
    EXPECT_EQ(row("value15"), "1");  // annotations stored inverted
    const store::DisplaySettings s = settings.displaySettings();
    EXPECT_FALSE(s.highlightClashes);
    EXPECT_TRUE(s.showAllChanged);
    EXPECT_FALSE(s.showStems);
    EXPECT_FALSE(s.showAnnotations);
    settings.setShowAnnotations(true);
    EXPECT_EQ(row("value15"), "0");
}

TEST(SettingsRows, StemsShowUnlessTheValueIsZero) {
    auto db = store::Database::openInMemory();
    for (const char* value : {"1", "", "x"}) {
        db->execute(QStringLiteral("update zhi set value4=? where id=85"), {QString::fromLatin1(value)});
        EXPECT_TRUE(SettingsRows(*db).displaySettings().showStems) << value;
    }
    db->execute(QStringLiteral("update zhi set value4=null where id=85"));
    EXPECT_TRUE(SettingsRows(*db).displaySettings().showStems);
}

TEST(SettingsRows, ChartStyleAndRememberedLogin) {
    auto db = store::Database::openInMemory();
    SettingsRows settings(*db);
    settings.setChartStyle(store::ChartStyle::Zangshan);
    EXPECT_EQ(settings.chartStyle(), 2);
    settings.rememberLogin(QStringLiteral("张'三"), QStringLiteral("p%w'd"));
    store::LoginMemory login = settings.loginMemory();
    EXPECT_EQ(login.userName, QStringLiteral("张'三"));
    EXPECT_EQ(login.password, QStringLiteral("p%w'd"));
    EXPECT_TRUE(login.remember);
    settings.setRememberLogin(false);
    EXPECT_FALSE(settings.loginMemory().remember);
    EXPECT_EQ(settings.loginMemory().userName, QStringLiteral("张'三"));
}

}  // namespace
