// The desktop program's start-up: the command line (help and version without a window, one
// spelling for the options the start-up reads), the icon of its windows, a data root the user
// named that does not exist, and the end of a run asked for by a signal.
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>

#include "app/command_line.h"
#include "app/startup.h"

using app::ProgramCommandLine;

class ProgramStartupTest : public QObject {
    Q_OBJECT
private slots:
    void commandLine_data();
    void commandLine();
    void helpListsEveryOption();
    void iconHasEverySizeOfTheInstalledTheme();
    void aNamedDataRootIsMadeOnlyWhenAskedFor();
    void aTerminationSignalClosesTheDatabaseAsAQuitDoes_data();
    void aTerminationSignalClosesTheDatabaseAsAQuitDoes();
};

void ProgramStartupTest::commandLine_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("text");  // the version line, or a part of the complaint
    QTest::addColumn<QStringList>("forStartUp");
    QTest::addColumn<QString>("caseText");
    QTest::addColumn<bool>("create");
    const int run = int(ProgramCommandLine::Action::run), refuse = int(ProgramCommandLine::Action::refuse);
    const QString q = QStringLiteral("qinglan");

    QTest::newRow("nothing") << QStringList{q} << run << QString() << QStringList{q} << QString() << false;
    QTest::newRow("version") << QStringList{q, "--version"} << int(ProgramCommandLine::Action::version)
                             << QStringLiteral("qinglan " QINGLAN_PROJECT_VERSION "\n") << QStringList() << QString()
                             << false;
    QTest::newRow("version wins over a wrong option")
        << QStringList{q, "--bogus", "-v"} << int(ProgramCommandLine::Action::version)
        << QStringLiteral("qinglan " QINGLAN_PROJECT_VERSION "\n") << QStringList() << QString() << false;
    QTest::newRow("both spellings") << QStringList{q, "--data-dir=/d", "--service", "https://s.example/", "--case=T"}
                                    << run << QString()
                                    << QStringList{q, "--data-dir", "/d", "--service", "https://s.example/"}
                                    << QStringLiteral("T") << false;
    QTest::newRow("create") << QStringList{q, "--data-dir", "/d", "--create"} << run << QString()
                            << QStringList{q, "--data-dir", "/d"} << QString() << true;
    QTest::newRow("unknown option") << QStringList{q, "--bogus"} << refuse << QStringLiteral("'bogus'") << QStringList()
                                    << QString() << false;
    QTest::newRow("missing value") << QStringList{q, "--case"} << refuse << QStringLiteral("'--case'") << QStringList()
                                   << QString() << false;
    QTest::newRow("stray word") << QStringList{q, "20000107113113"} << refuse
                                << QStringLiteral("unexpected argument 20000107113113") << QStringList() << QString()
                                << false;
}

void ProgramStartupTest::commandLine() {
    QFETCH(QStringList, arguments);
    QFETCH(int, action);
    QFETCH(QString, text);
    QFETCH(QStringList, forStartUp);
    QFETCH(QString, caseText);
    QFETCH(bool, create);
    const ProgramCommandLine line = app::parseProgramCommandLine(arguments);
    QCOMPARE(int(line.action), action);
    if (action == int(ProgramCommandLine::Action::version)) QCOMPARE(line.text, text);
    if (action == int(ProgramCommandLine::Action::refuse)) QVERIFY2(line.text.contains(text), qPrintable(line.text));
    if (action != int(ProgramCommandLine::Action::run)) return;
    QCOMPARE(line.arguments, forStartUp);
    QCOMPARE(line.caseText, caseText);
    QCOMPARE(line.createDataRoot, create);
}

void ProgramStartupTest::helpListsEveryOption() {
    const ProgramCommandLine line = app::parseProgramCommandLine({QStringLiteral("/some/where/bin/qinglan"), "--help"});
    QCOMPARE(int(line.action), int(ProgramCommandLine::Action::help));
    QVERIFY2(line.text.startsWith(QStringLiteral("Usage: qinglan [options]")), qPrintable(line.text));
    for (const char* option :
         {"--help", "--version", "--case <TEXT>", "--data-dir <DIR>", "--create", "--service <URL>"})
        QVERIFY2(line.text.contains(QLatin1String(option)), option);
}

void ProgramStartupTest::iconHasEverySizeOfTheInstalledTheme() {
    const QIcon icon = app::programIcon();
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        QVERIFY2(icon.availableSizes().contains(QSize(size, size)), qPrintable(QString::number(size)));
        const QPixmap picture = icon.pixmap(size, size);
        QCOMPARE(picture.size(), QSize(size, size));
        // The picture itself, not an empty one: the corner is clear, the middle is painted.
        QCOMPARE(picture.toImage().pixelColor(0, 0).alpha(), 0);
        QVERIFY(picture.toImage().pixelColor(size / 2, size / 2).alpha() > 200);
    }
}

void ProgramStartupTest::aNamedDataRootIsMadeOnlyWhenAskedFor() {
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("cases/new"));
    const QStringList arguments{QStringLiteral("qinglan"), QStringLiteral("--data-dir"), missing};
    const app::OpenedData refused = app::openData(arguments, false);
    QVERIFY(!refused.db);
    QVERIFY2(refused.error.contains(missing) && refused.error.contains(QStringLiteral("--create")),
             qPrintable(refused.error));
    QVERIFY(!QFileInfo::exists(missing));

    const app::OpenedData created = app::openData(arguments, true);
    QVERIFY2(created.db, qPrintable(created.error));
    QVERIFY(QFileInfo::exists(QDir(missing).filePath(QStringLiteral("qinglan.db"))));
}

void ProgramStartupTest::aTerminationSignalClosesTheDatabaseAsAQuitDoes_data() {
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
    QTest::newRow("SIGHUP") << int(SIGHUP);
}

void ProgramStartupTest::aTerminationSignalClosesTheDatabaseAsAQuitDoes() {
    QFETCH(int, signalNumber);
    QTemporaryDir home;
    const QString database = QDir(home.path()).filePath(QStringLiteral("qinglan.db"));
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME"})
        environment.insert(QLatin1String(name), home.path());
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(QINGLAN_PROGRAM), {QStringLiteral("--data-dir"), home.path()});
    QVERIFY(program.waitForStarted());
    // The database is open, on its write-ahead log, once the log file is there.
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(database + QStringLiteral("-wal")), 30000);
    QTest::qWait(500);  // the windows are up

    ::kill(pid_t(program.processId()), signalNumber);
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 128 + signalNumber);
    for (const char* companion : {"-wal", "-shm", "-journal"})
        QVERIFY2(!QFileInfo::exists(database + QLatin1String(companion)), companion);
    QFile file(database);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(int(file.read(20).at(18)), 1);  // the rollback journal again
}

QTEST_MAIN(ProgramStartupTest)
#include "program_startup_test.moc"
