#pragma once
// Every window of a run over a temporary database file, a fixed clock and a scripted prompter,
// wired as the program wires them.
#include <QTemporaryDir>
#include <memory>

#include "app/program_windows.h"
#include "store/data_root.h"
#include "store/database.h"
#include "test_support/controls.h"
#include "test_support/scripted_prompter.h"
#include "workbench/clock.h"

struct ProgramFixture {
    explicit ProgramFixture(QDateTime now = QDateTime(QDate(2024, 2, 4), QTime(16, 24)), QUrl service = {},
                            casting::RandomSource random = casting::RandomSource())
        : clock(std::move(now)),
          db(store::Database::open(store::databaseFilePath(dir.path()))),
          program(std::make_unique<app::ProgramWindows>(
              app::ProgramSetup{*db, clock, prompter, dir.path(), std::move(service),
                                dir.filePath(QStringLiteral("qinglan")), std::move(random)})),
          window(&program->mainWindow) {}

    workbench::Workbench& bench() { return program->bench; }

    // The program closed and started again over the same database file, with the same clock
    // (and the case service at the address given, none by default).
    void restart(QUrl service = {}) {
        program.reset();
        db.reset();
        db = store::Database::open(store::databaseFilePath(dir.path()));
        program = std::make_unique<app::ProgramWindows>(
            app::ProgramSetup{*db, clock, prompter, dir.path(), std::move(service),
                              dir.filePath(QStringLiteral("qinglan")), casting::RandomSource()});
        window = &program->mainWindow;
    }

    QTemporaryDir dir;
    workbench::FixedClock clock;
    ScriptedPrompter prompter;
    std::unique_ptr<store::Database> db;
    std::unique_ptr<app::ProgramWindows> program;
    ui::MainWindow* window;
};
