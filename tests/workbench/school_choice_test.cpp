// The school choices of 设置 on the workbench: kept across a restart, and the chart on view laid
// out again under them. 2024-01-01 is 甲子日, so a cast at 23:30 falls on 乙丑日 under 早子时.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QSqlQuery>
#include <QTemporaryDir>

#include "store/data_root.h"
#include "test_support/qt_printers.h"
#include "test_support/scripted_prompter.h"
#include "workbench/clock.h"
#include "workbench/workbench.h"

namespace {

using reading::Schools;
using workbench::Workbench;

struct Bench {
    QTemporaryDir dir;
    workbench::FixedClock clock{QDateTime(QDate(2026, 12, 8), QTime(9, 0))};
    ScriptedPrompter prompter;
    std::unique_ptr<store::Database> db = store::Database::open(store::databaseFilePath(dir.path()));
    std::unique_ptr<Workbench> bench = std::make_unique<Workbench>(*db, clock, prompter, dir.path());

    void restart() { bench = std::make_unique<Workbench>(*db, clock, prompter, dir.path()); }
};

TEST(SchoolChoice, KeptAcrossARestartAndTheChartFollows) {
    Bench b;
    EXPECT_EQ(b.bench->schools(), Schools{});
    ASSERT_TRUE(b.bench->enterCaseNumber(QStringLiteral("20240101111111T:23:30:00")));
    EXPECT_TRUE(b.bench->chart().pillarLabel.startsWith(u"癸卯年 甲子月 甲子日"));

    Schools chosen;
    chosen.ziHour = Schools::ZiHour::Early;
    chosen.yinBlade = Schools::YinBlade::Backward;
    QSignalSpy changed(b.bench.get(), &Workbench::chartChanged);
    b.bench->setSchools(chosen);
    EXPECT_FALSE(changed.isEmpty());
    EXPECT_TRUE(b.bench->chart().pillarLabel.startsWith(u"癸卯年 甲子月 乙丑日"))
        << b.bench->chart().pillarLabel.toStdString();
    EXPECT_EQ(b.bench->chart().main[0].hexagramName, u"乾为天");

    b.restart();
    EXPECT_EQ(b.bench->schools(), chosen);
    EXPECT_TRUE(b.bench->options().schools.earlyZiHour);
    b.bench->setSchools(Schools{});
    b.restart();
    EXPECT_EQ(b.bench->schools(), Schools{});
    EXPECT_TRUE(b.prompter.messages.isEmpty());
}

}  // namespace
