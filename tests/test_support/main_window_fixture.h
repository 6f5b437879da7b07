#pragma once
// The real main window over a temporary database file, a fixed clock and a scripted prompter.
#include <QTemporaryDir>
#include <memory>

#include "app/clock.h"
#include "app/main_window.h"
#include "store/data_root.h"
#include "store/database.h"
#include "test_support/scripted_prompter.h"

struct MainWindowFixture {
    explicit MainWindowFixture(QDateTime now = QDateTime(QDate(2024, 2, 4), QTime(16, 24)))
        : clock(std::move(now)),
          db(store::Database::open(store::databaseFilePath(dir.path()))),
          window(std::make_unique<app::MainWindow>(*db, clock, prompter, dir.path())) {}

    QTemporaryDir dir;
    app::FixedClock clock;
    ScriptedPrompter prompter;
    std::unique_ptr<store::Database> db;
    std::unique_ptr<app::MainWindow> window;
};
