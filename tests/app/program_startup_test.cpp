// The desktop program's start-up: the command line (help and version without a window, one
// spelling for the options the start-up reads), the icon of its windows, a data root the user
// named that does not exist, and the end of a run asked for by a signal.
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>

#include "app/command_line.h"
#include "app/interface_language.h"
#include "app/startup.h"

using app::ProgramCommandLine;

class ProgramStartupTest : public QObject {
    Q_OBJECT
private slots:
    void commandLine_data();
    void commandLine();
    void helpListsEveryOption();
    void interfaceLanguageChoice_data();
    void interfaceLanguageChoice();
    void theFirstMessagesSpeakTheChosenLanguage_data();
    void theFirstMessagesSpeakTheChosenLanguage();
    void iconHasEverySizeOfTheInstalledTheme();
    void aNamedDataRootIsMadeOnlyWhenAskedFor();
    void aTerminationSignalClosesTheDatabaseAsAQuitDoes_data();
    void aTerminationSignalClosesTheDatabaseAsAQuitDoes();
    void aFatalStartUpFaultEndsTheProgramWithItsStatus_data();
    void aFatalStartUpFaultEndsTheProgramWithItsStatus();
};

namespace {

// The real program on a data root of its own, logging each dialog it shows on standard error.
struct RunningProgram {
    QTemporaryDir home;
    QString database = QDir(home.path()).filePath(QStringLiteral("qinglan.db"));
    QProcess process;
    QByteArray errors;

    void start(const QStringList& arguments) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME"})
            environment.insert(QLatin1String(name), home.path());
        environment.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("qinglan.dialogs.info=true"));
        environment.remove(QStringLiteral("QINGLAN_SERVICE"));
        process.setProcessEnvironment(environment);
        process.setReadChannel(QProcess::StandardError);  // waitForReadyRead waits for this channel
        process.start(QStringLiteral(QINGLAN_PROGRAM), arguments);
    }
    // Waits until the program has shown a dialog of this class.
    bool waitForDialog(const char* className) {
        const QByteArray line = QByteArray("shown: ") + className;
        QDeadlineTimer limit(30000);
        while (!errors.contains(line) && !limit.hasExpired() && process.state() == QProcess::Running) {
            process.waitForReadyRead(int(limit.remainingTime()));
            errors += process.readAllStandardError();
        }
        return errors.contains(line);
    }
};

}  // namespace

void ProgramStartupTest::commandLine_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("text");  // the version line, or a part of the complaint
    QTest::addColumn<QStringList>("forStartUp");
    QTest::addColumn<QString>("caseText");
    QTest::addColumn<bool>("create");
    QTest::addColumn<int>("language");  // --lang as a language::Language, -1 for none
    const int run = int(ProgramCommandLine::Action::Run), refuse = int(ProgramCommandLine::Action::Refuse);
    const QString q = QStringLiteral("qinglan");

    QTest::newRow("nothing") << QStringList{q} << run << QString() << QStringList{q} << QString() << false << -1;
    QTest::newRow("version") << QStringList{q, "--version"} << int(ProgramCommandLine::Action::Version)
                             << QStringLiteral("qinglan " QINGLAN_PROJECT_VERSION "\n") << QStringList() << QString()
                             << false << -1;
    QTest::newRow("version wins over a wrong option")
        << QStringList{q, "--bogus", "-v"} << int(ProgramCommandLine::Action::Version)
        << QStringLiteral("qinglan " QINGLAN_PROJECT_VERSION "\n") << QStringList() << QString() << false << -1;
    QTest::newRow("both spellings") << QStringList{q, "--data-dir=/d", "--service", "https://s.example/", "--case=T"}
                                    << run << QString()
                                    << QStringList{q, "--data-dir", "/d", "--service", "https://s.example/"}
                                    << QStringLiteral("T") << false << -1;
    QTest::newRow("create") << QStringList{q, "--data-dir", "/d", "--create"} << run << QString()
                            << QStringList{q, "--data-dir", "/d"} << QString() << true << -1;
    QTest::newRow("unknown option") << QStringList{q, "--bogus"} << refuse << QStringLiteral("'bogus'") << QStringList()
                                    << QString() << false << -1;
    QTest::newRow("missing value") << QStringList{q, "--case"} << refuse << QStringLiteral("'--case'") << QStringList()
                                   << QString() << false << -1;
    QTest::newRow("stray word") << QStringList{q, "20000107113113"} << refuse
                                << QStringLiteral("unexpected argument 20000107113113") << QStringList() << QString()
                                << false << -1;
    using language::Language;
    QTest::newRow("--lang") << QStringList{q, "--lang", "zh_TW"} << run << QString() << QStringList{q} << QString()
                            << false << int(Language::TraditionalTaiwan);
    QTest::newRow("--lang=") << QStringList{q, "--lang=en", "--case", "7"} << run << QString() << QStringList{q}
                             << QStringLiteral("7") << false << int(Language::English);
    QTest::newRow("--lang zh_CN") << QStringList{q, "--lang", "zh_CN"} << run << QString() << QStringList{q}
                                  << QString() << false << int(Language::SimplifiedChinese);
    QTest::newRow("unknown language") << QStringList{q, "--lang", "fr"} << refuse
                                      << QStringLiteral("unknown language 'fr' for --lang (one of zh_CN, zh_TW, en)")
                                      << QStringList() << QString() << false << -1;
    QTest::newRow("a spelling --lang does not take")
        << QStringList{q, "--lang=zh-tw"} << refuse << QStringLiteral("'zh-tw'") << QStringList() << QString() << false
        << -1;
    QTest::newRow("no language") << QStringList{q, "--lang"} << refuse << QStringLiteral("'--lang'") << QStringList()
                                 << QString() << false << -1;
}

void ProgramStartupTest::commandLine() {
    QFETCH(QStringList, arguments);
    QFETCH(int, action);
    QFETCH(QString, text);
    QFETCH(QStringList, forStartUp);
    QFETCH(QString, caseText);
    QFETCH(bool, create);
    QFETCH(int, language);
    const ProgramCommandLine line = app::parseProgramCommandLine(arguments);
    QCOMPARE(int(line.action), action);
    if (action == int(ProgramCommandLine::Action::Version)) QCOMPARE(line.text, text);
    if (action == int(ProgramCommandLine::Action::Refuse)) QVERIFY2(line.text.contains(text), qPrintable(line.text));
    if (action != int(ProgramCommandLine::Action::Run)) return;
    QCOMPARE(line.arguments, forStartUp);
    QCOMPARE(line.caseText, caseText);
    QCOMPARE(line.createDataRoot, create);
    QCOMPARE(line.interfaceLanguage ? int(*line.interfaceLanguage) : -1, language);
}

void ProgramStartupTest::helpListsEveryOption() {
    const ProgramCommandLine line = app::parseProgramCommandLine({QStringLiteral("/some/where/bin/qinglan"), "--help"});
    QCOMPARE(int(line.action), int(ProgramCommandLine::Action::Help));
    QVERIFY2(line.text.startsWith(QStringLiteral("Usage: qinglan [options]")), qPrintable(line.text));
    for (const char* option :
         {"--help", "--version", "--case <TEXT>", "--data-dir <DIR>", "--create", "--service <URL>", "--lang <CODE>"})
        QVERIFY2(line.text.contains(QLatin1String(option)), option);
}

// --lang first, then the choice stored in 设置 (empty: follow the system), then the system's.
void ProgramStartupTest::interfaceLanguageChoice_data() {
    using language::Language;
    QTest::addColumn<int>("commandLine");  // -1 for none
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("system");
    QTest::addColumn<int>("chosen");
    const int cn = int(Language::SimplifiedChinese), tw = int(Language::TraditionalTaiwan),
              hk = int(Language::TraditionalHongKong), en = int(Language::English);
    QTest::newRow("nothing chosen") << -1 << QString() << tw << tw;
    QTest::newRow("the stored choice") << -1 << QStringLiteral("en") << tw << en;
    QTest::newRow("简体 stored on an English system") << -1 << QStringLiteral("zh_CN") << en << cn;
    QTest::newRow("--lang over the stored choice") << tw << QStringLiteral("en") << cn << tw;
    QTest::newRow("an unknown stored code") << -1 << QStringLiteral("xx") << hk << hk;
}

void ProgramStartupTest::interfaceLanguageChoice() {
    QFETCH(int, commandLine);
    QFETCH(QString, stored);
    QFETCH(int, system);
    QFETCH(int, chosen);
    using language::Language;
    const std::optional<Language> given =
        commandLine < 0 ? std::nullopt : std::optional<Language>(Language(commandLine));
    QCOMPARE(int(app::chooseInterfaceLanguage(given, stored, Language(system))), chosen);
}

// The message of a data root that does not exist comes before the database opens: in the
// language of --lang, else the system's (LANGUAGE), and exactly as ever in 简体中文.
void ProgramStartupTest::theFirstMessagesSpeakTheChosenLanguage_data() {
    QTest::addColumn<QString>("systemLanguage");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    const QStringList missing{"--data-dir", "/nonexistent/qinglan"};
    QTest::newRow("LANGUAGE=zh_TW") << QStringLiteral("zh_TW") << missing
                                    << QStringLiteral("資料夾不存在：/nonexistent/qinglan\n");
    QTest::newRow("LANGUAGE=zh_CN") << QStringLiteral("zh_CN") << missing
                                    << QStringLiteral(
                                           "数据文件夹不存在：/nonexistent/qinglan\n"
                                           "请指定已有的文件夹，或加上 --create 新建它。");
    QTest::newRow("--lang en") << QStringLiteral("zh_TW") << (QStringList{"--lang", "en"} + missing)
                               << QStringLiteral("The data folder does not exist: /nonexistent/qinglan\n");
    QTest::newRow("--lang zh_CN") << QStringLiteral("en_US") << (QStringList{"--lang=zh_CN"} + missing)
                                  << QStringLiteral("数据文件夹不存在：/nonexistent/qinglan\n");
}

void ProgramStartupTest::theFirstMessagesSpeakTheChosenLanguage() {
    QFETCH(QString, systemLanguage);
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LANGUAGE"), systemLanguage);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(QINGLAN_PROGRAM), arguments);
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 2);
    const QString errors = QString::fromUtf8(process.readAllStandardError());
    QVERIFY2(errors.contains(message), qPrintable(errors));
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
    QCOMPARE(refused.exitStatus, app::OpenedData::kUsageError);
    QVERIFY2(refused.error.contains(missing) && refused.error.contains(QStringLiteral("--create")),
             qPrintable(refused.error));
    QVERIFY(!QFileInfo::exists(missing));

    const app::OpenedData created = app::openData(arguments, true);
    QVERIFY2(created.db, qPrintable(created.error));
    QVERIFY(QFileInfo::exists(QDir(missing).filePath(QStringLiteral("qinglan.db"))));
}

void ProgramStartupTest::aTerminationSignalClosesTheDatabaseAsAQuitDoes_data() {
    QTest::addColumn<int>("signalNumber");
    QTest::addColumn<QString>("caseText");  // a wrong one shows a message box before the main loop runs
    QTest::addColumn<QByteArray>("openDialog");
    for (const auto& [name, number] : {std::pair{"SIGTERM", SIGTERM}, {"SIGINT", SIGINT}, {"SIGHUP", SIGHUP}})
        QTest::addRow("%s, casting dialog open", name) << int(number) << QString() << QByteArray("ui::CastDialog");
    QTest::addRow("SIGTERM, message box open") << int(SIGTERM) << QStringLiteral("123") << QByteArray("QMessageBox");
}

void ProgramStartupTest::aTerminationSignalClosesTheDatabaseAsAQuitDoes() {
    QFETCH(int, signalNumber);
    QFETCH(QString, caseText);
    QFETCH(QByteArray, openDialog);
    RunningProgram program;
    QStringList arguments{QStringLiteral("--data-dir"), program.home.path()};
    if (!caseText.isEmpty()) arguments << QStringLiteral("--case") << caseText;
    program.start(arguments);
    QVERIFY(program.process.waitForStarted());
    QVERIFY2(program.waitForDialog(openDialog.constData()), program.errors.constData());
    QVERIFY(QFileInfo::exists(program.database + QStringLiteral("-wal")));  // open, on its write-ahead log

    ::kill(pid_t(program.process.processId()), signalNumber);
    QVERIFY(program.process.waitForFinished(30000));
    QCOMPARE(program.process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.process.exitCode(), 128 + signalNumber);
    for (const char* companion : {"-wal", "-shm", "-journal"})
        QVERIFY2(!QFileInfo::exists(program.database + QLatin1String(companion)), companion);
    QFile file(program.database);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(int(file.read(20).at(18)), 1);  // the rollback journal again
}

// As the manual page says: 2 for what the command line got wrong, 1 when the database cannot
// be opened; the message goes to standard error and nothing waits for the user.
void ProgramStartupTest::aFatalStartUpFaultEndsTheProgramWithItsStatus_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    QTest::newRow("a data root that does not exist")
        << QStringList{"--data-dir", "/nonexistent/qinglan"} << 2 << QStringLiteral("/nonexistent/qinglan");
    QTest::newRow("a refused case service address")
        << QStringList{"--service", "http://cases.example.org/"} << 2 << QStringLiteral("cases.example.org");
    QTest::newRow("a wrong option") << QStringList{"--bogus"} << 2 << QStringLiteral("bogus");
}

void ProgramStartupTest::aFatalStartUpFaultEndsTheProgramWithItsStatus() {
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, message);
    RunningProgram program;
    program.start(arguments);
    QVERIFY(program.process.waitForFinished(30000));
    QCOMPARE(program.process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.process.exitCode(), status);
    const QString errors = QString::fromLocal8Bit(program.process.readAllStandardError());
    QVERIFY2(errors.contains(message), qPrintable(errors));
    QVERIFY2(!errors.contains(QStringLiteral("shown:")), qPrintable(errors));
}

QTEST_MAIN(ProgramStartupTest)
#include "program_startup_test.moc"
