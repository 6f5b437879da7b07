// qinglan-cli's case library commands run as real processes: two first starts at once on a new
// folder, a first start killed half-way, and export, import, backup and restore end to end.
#include <gtest/gtest.h>
#include <cstdio>
#include <string>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QSignalSpy>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <csignal>

namespace {

struct CliRun {
    int status = -1;
    QByteArray out, err;
};

// The data folder is made on the first use (--create), as a user starting a new library would.
QProcess* start(const QStringList& args, const QString& dataDir) {
    auto* process = new QProcess;
    process->setProgram(QStringLiteral(QINGLAN_CLI));
    process->setArguments(args + QStringList{QStringLiteral("--data-dir"), dataDir, QStringLiteral("--create")});
    process->start();
    return process;
}

CliRun finish(QProcess* process, const QByteArray& input = {}) {
    if (!input.isEmpty()) process->write(input);
    process->closeWriteChannel();
    process->waitForFinished(60000);
    CliRun run{process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1,
               process->readAllStandardOutput(), process->readAllStandardError()};
    delete process;
    return run;
}

CliRun cli(const QStringList& args, const QString& dataDir, const QByteArray& input = {}) {
    return finish(start(args, dataDir), input);
}

QString writeFile(const QTemporaryDir& dir, const char* name, const QByteArray& bytes) {
    const QString path = dir.filePath(QLatin1String(name));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}

QStringList leftovers(const QString& dataDir) {
    return QDir(dataDir).entryList(
        {QStringLiteral("*.creating-*"), QStringLiteral("*-journal"), QStringLiteral("*-wal")}, QDir::Files);
}

TEST(CaseLibraryCli, TwoFirstStartsAtOnceKeepBothProgramsCases) {
    QTemporaryDir dir;
    const QString a = writeFile(dir, "a.jsonl", "{\"gua_bianhao\":\"A\",\"duanyu\":\"甲\"}\n");
    const QString b = writeFile(dir, "b.jsonl", "{\"gua_bianhao\":\"B\",\"duanyu\":\"乙\"}\n");
    for (int round = 0; round < 12; ++round) {
        const QString data = dir.filePath(QStringLiteral("data%1").arg(round));
        QProcess* first = start({QStringLiteral("cases"), QStringLiteral("import"), a}, data);
        QProcess* second = start({QStringLiteral("cases"), QStringLiteral("import"), b}, data);
        const CliRun one = finish(first), two = finish(second);
        ASSERT_EQ(one.status, 0) << round << one.err.toStdString();
        ASSERT_EQ(two.status, 0) << round << two.err.toStdString();
        const CliRun all = cli({QStringLiteral("cases"), QStringLiteral("export"), QStringLiteral("-")}, data);
        EXPECT_EQ(all.out.count('\n'), 2) << round << all.out.toStdString();
        EXPECT_TRUE(all.out.contains("\"A\"") && all.out.contains("\"B\"")) << round;
        EXPECT_EQ(leftovers(data), QStringList{}) << round;
    }
}

// The moments of the kills are random; the seed is printed, and QINGLAN_KILL_SEED=<seed> replays
// the same moments.
TEST(CaseLibraryCli, AFirstStartKilledHalfWayLeavesNothingThatBlocksTheNext) {
    bool given = false;
    const quint32 seed = quint32(qEnvironmentVariableIntValue("QINGLAN_KILL_SEED", &given));
    const quint32 used = given ? seed : QRandomGenerator::global()->generate();
    QRandomGenerator moments(used);
    std::printf("kill moments: QINGLAN_KILL_SEED=%u\n", used);
    RecordProperty("kill_seed", int(used));
    QTemporaryDir dir;
    for (int round = 0; round < 30; ++round) {
        SCOPED_TRACE("QINGLAN_KILL_SEED=" + std::to_string(used) + " round " + std::to_string(round));
        const QString data = dir.filePath(QStringLiteral("data%1").arg(round));
        QProcess* process = start({QStringLiteral("cases"), QStringLiteral("export"), QStringLiteral("-")}, data);
        process->waitForStarted();
        // Killed at a random moment of its first start, unless it has ended by then.
        if (!process->waitForFinished(int(moments.bounded(2, 60))) && process->processId() > 0)
            ::kill(static_cast<pid_t>(process->processId()), SIGKILL);
        finish(process);
        const CliRun next = cli({QStringLiteral("cases"), QStringLiteral("export"), QStringLiteral("-")}, data);
        EXPECT_EQ(next.status, 0) << round << ": " << next.err.toStdString();
        EXPECT_EQ(leftovers(data), QStringList{}) << round;
    }
}

TEST(CaseLibraryCli, ExportImportIntoAFreshFolderAndExportAgainGiveTheSameBytes) {
    QTemporaryDir dir;
    const QString first = dir.filePath(QStringLiteral("first")), second = dir.filePath(QStringLiteral("second"));
    const QByteArray lines =
        "{\"duanyu\":\"断😀𠀀 '\\\" "
        "%_\\\\\",\"fankui\":\"\",\"gua_bianhao\":\"N1\",\"lei_mingcheng\":\"求财\",\"nian\":2024,\"ri\":4,"
        "\"shijian\":\"2024-02-04 16:25:00.000\",\"shiyou\":\"问\\n事\",\"yue\":2}\n"
        "{\"gua_bianhao\":\"N2\",\"lei_mingcheng\":\"外来类\",\"shijian\":\"2024-02-05 16:25:00.000\"}\n";
    ASSERT_EQ(cli({QStringLiteral("cases"), QStringLiteral("import"), QStringLiteral("-")}, first, lines).status, 0);
    const CliRun exported = cli({QStringLiteral("cases"), QStringLiteral("export"), QStringLiteral("-")}, first);
    ASSERT_EQ(exported.status, 0);
    const CliRun imported =
        cli({QStringLiteral("cases"), QStringLiteral("import"), QStringLiteral("-")}, second, exported.out);
    EXPECT_EQ(imported.out, "added 2\nupdated 0\nskipped 0\nrefused 0\n");
    const QString file = dir.filePath(QStringLiteral("again.jsonl"));
    ASSERT_EQ(cli({QStringLiteral("cases"), QStringLiteral("export"), file}, second).status, 0);
    QFile again(file);
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_EQ(again.readAll(), exported.out);

    // A dry run counts; the real run is refused as a whole while a line is bad.
    const QByteArray withBad = exported.out + "{\"gua_bianhao\":\n{\"gua_bianhao\":\"N3\"}\n";
    const CliRun dry =
        cli({QStringLiteral("cases"), QStringLiteral("import"), QStringLiteral("--dry-run"), QStringLiteral("-")},
            second, withBad);
    EXPECT_EQ(dry.status, 0);
    EXPECT_EQ(dry.out, "added 1\nupdated 0\nskipped 2\nrefused 1\n");
    EXPECT_TRUE(dry.err.startsWith("line 3: ")) << dry.err.toStdString();
    const CliRun refused =
        cli({QStringLiteral("cases"), QStringLiteral("import"), QStringLiteral("-")}, second, withBad);
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.out, "added 0\nupdated 0\nskipped 2\nrefused 1\n");  // rolled back: nothing added
    EXPECT_TRUE(refused.err.contains("nothing imported")) << refused.err.toStdString();
    const CliRun skipping =
        cli({QStringLiteral("cases"), QStringLiteral("import"), QStringLiteral("--skip-refused"), QStringLiteral("-")},
            second, withBad);
    EXPECT_EQ(skipping.status, 0);
    EXPECT_EQ(skipping.out, "added 1\nupdated 0\nskipped 2\nrefused 1\n");

    // The first case changed elsewhere comes back by its uuid: updated, or refused with --no-update.
    const QByteArray firstLine = exported.out.left(exported.out.indexOf('\n') + 1);
    ASSERT_TRUE(firstLine.contains("\"uuid\":\"")) << firstLine.toStdString();
    QByteArray changed = firstLine;
    changed.replace("\"fankui\":\"\"", "\"fankui\":\"后来应验\"");
    ASSERT_NE(changed, firstLine);
    const CliRun keeping =
        cli({QStringLiteral("cases"), QStringLiteral("import"), QStringLiteral("--no-update"), QStringLiteral("-")},
            second, changed);
    EXPECT_EQ(keeping.status, 1);
    EXPECT_EQ(keeping.out, "added 0\nupdated 0\nskipped 0\nrefused 1\n");
    EXPECT_TRUE(keeping.err.startsWith("line 1: ")) << keeping.err.toStdString();
    const CliRun updating =
        cli({QStringLiteral("cases"), QStringLiteral("import"), QStringLiteral("-")}, second, changed);
    EXPECT_EQ(updating.status, 0);
    EXPECT_EQ(updating.out, "added 0\nupdated 1\nskipped 0\nrefused 0\n");
    EXPECT_EQ(
        cli({QStringLiteral("cases"), QStringLiteral("export"), QStringLiteral("-")}, second).out.count("后来应验"), 1);
}

TEST(CaseLibraryCli, BackupAndRestoreFromTheCommandLine) {
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("data"));
    const QString backup = dir.filePath(QStringLiteral("backup.db"));
    ASSERT_EQ(cli({QStringLiteral("cases"), QStringLiteral("import"), QStringLiteral("-")}, data,
                  "{\"gua_bianhao\":\"KEEP\"}\n")
                  .status,
              0);
    ASSERT_EQ(cli({QStringLiteral("backup"), backup}, data).status, 0);
    ASSERT_EQ(cli({QStringLiteral("cases"), QStringLiteral("import"), QStringLiteral("-")}, data,
                  "{\"gua_bianhao\":\"LATER\"}\n")
                  .status,
              0);
    const CliRun restored = cli({QStringLiteral("restore"), backup}, data);
    ASSERT_EQ(restored.status, 0) << restored.err.toStdString();
    EXPECT_TRUE(restored.out.startsWith("kept the replaced database as " + QFile::encodeName(data) + "/qinglan.db."))
        << restored.out.toStdString();
    const CliRun now = cli({QStringLiteral("cases"), QStringLiteral("export"), QStringLiteral("-")}, data);
    EXPECT_TRUE(now.out.contains("KEEP"));
    EXPECT_FALSE(now.out.contains("LATER"));

    struct Bad {
        QStringList args;
        int status;
    };
    const Bad bad[] = {
        {{QStringLiteral("restore"), writeFile(dir, "text.db", "plain text")}, 1},
        {{QStringLiteral("restore")}, 2},
        {{QStringLiteral("restore"), QString()}, 2},
        {{QStringLiteral("backup"), QString()}, 2},
        {{QStringLiteral("backup"), QStringLiteral("--verify"), QString()}, 2},
        {{QStringLiteral("backup"), backup, backup}, 2},
        {{QStringLiteral("backup"), QStringLiteral("--no-such-option"), backup}, 2},
        {{QStringLiteral("cases"), QStringLiteral("export"), QStringLiteral("--from"), QStringLiteral("2024-02-30"),
          QStringLiteral("-")},
         2},
        {{QStringLiteral("cases"), QStringLiteral("export"), QStringLiteral("--category"), QStringLiteral("无此类"),
          QStringLiteral("-")},
         1},
        {{QStringLiteral("cases"), QStringLiteral("rename")}, 2},
    };
    for (const Bad& b : bad) {
        const CliRun run = cli(b.args, data);
        EXPECT_EQ(run.status, b.status) << b.args.join(u' ').toStdString();
        EXPECT_FALSE(run.err.isEmpty()) << b.args.join(u' ').toStdString();
    }
}

// A backup killed in the middle of writing leaves its temporary files; the next backup to the
// same file removes them and writes a whole one, which --verify accepts. A damaged one it refuses.
TEST(CaseLibraryCli, ABackupKilledMidWriteIsClearedByTheNextAndVerifyTellsGoodFromDamaged) {
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("data"));
    const QString backup = dir.filePath(QStringLiteral("whole.backup"));
    ASSERT_EQ(cli({QStringLiteral("cases"), QStringLiteral("import"), QStringLiteral("-")}, data,
                  "{\"gua_bianhao\":\"KEEP\"}\n")
                  .status,
              0);
    // Enough notes that writing them takes a while.
    QDir().mkpath(data + QStringLiteral("/save"));
    const QByteArray month = QByteArray("\xC7\xAC\xCE\xAA\xCC\xEC\r\n").repeated(200000);
    for (int i = 1; i <= 24; ++i)
        writeFile(dir, QStringLiteral("data/save/20%1.txt").arg(2400 + i).toUtf8().constData(), month);

    QFileSystemWatcher folder({QFileInfo(backup).absolutePath()});
    QSignalSpy changed(&folder, &QFileSystemWatcher::directoryChanged);
    QProcess* killed = start({QStringLiteral("backup"), backup}, data);
    ASSERT_TRUE(killed->waitForStarted());
    const QString partial = backup + QStringLiteral(".creating-") + QString::number(killed->processId());
    const QDeadlineTimer limit(60000);
    while (!QFile::exists(partial) && !limit.hasExpired()) changed.wait(int(limit.remainingTime()));
    ::kill(static_cast<pid_t>(killed->processId()), SIGKILL);
    const CliRun cut = finish(killed);
    ASSERT_EQ(cut.status, -1) << "the backup ended before it was killed";
    ASSERT_TRUE(QFile::exists(partial));
    EXPECT_FALSE(QFile::exists(backup));

    const CliRun next = cli({QStringLiteral("backup"), backup}, data);
    ASSERT_EQ(next.status, 0) << next.err.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("whole.backup*")}, QDir::Files),
              QStringList{QStringLiteral("whole.backup")});
    const CliRun good = cli({QStringLiteral("backup"), QStringLiteral("--verify"), backup}, data);
    EXPECT_EQ(good.status, 0) << good.err.toStdString();
    EXPECT_EQ(good.out, QFile::encodeName(backup) + ": ok, 1 cases, 24 note files\n");

    QFile file(backup);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    for (qint64 at = 4096 * 4; at < file.size() - 4096; at += 4096 * 16) {
        file.seek(at);  // page headers and the links between the pages of a note
        file.write(QByteArray(64, '\x5a'));
    }
    file.close();
    const CliRun damaged = cli({QStringLiteral("backup"), QStringLiteral("--verify"), backup}, data);
    EXPECT_EQ(damaged.status, 1);
    EXPECT_TRUE(damaged.out.isEmpty());
    EXPECT_FALSE(damaged.err.isEmpty());
}

// An import adding more than 1,000 cases is preceded by an automatic backup of the data root;
// a smaller one, or a dry run, is not.
TEST(CaseLibraryCli, ALargeImportIsBackedUpFirst) {
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("data"));
    auto lines = [](int from, int count) {
        QByteArray text;
        for (int i = from; i < from + count; ++i) text += "{\"gua_bianhao\":\"N" + QByteArray::number(i) + "\"}\n";
        return text;
    };
    const QString backups = data + QStringLiteral("/backups");
    for (const QStringList& args : {QStringList{QStringLiteral("--dry-run")}, QStringList{}}) {
        const CliRun small = cli(
            QStringList{QStringLiteral("cases"), QStringLiteral("import")} + args + QStringList{QStringLiteral("-")},
            data, lines(0, 1000));
        ASSERT_EQ(small.status, 0) << small.err.toStdString();
    }
    const CliRun dry =
        cli({QStringLiteral("cases"), QStringLiteral("import"), QStringLiteral("--dry-run"), QStringLiteral("-")}, data,
            lines(1000, 1001));
    ASSERT_EQ(dry.status, 0);
    EXPECT_EQ(QDir(backups).entryList(QDir::Files), QStringList{});

    const CliRun large =
        cli({QStringLiteral("cases"), QStringLiteral("import"), QStringLiteral("-")}, data, lines(1000, 1001));
    ASSERT_EQ(large.status, 0) << large.err.toStdString();
    EXPECT_TRUE(large.out.startsWith("added 1001\n")) << large.out.toStdString();
    const QStringList made = QDir(backups).entryList(QDir::Files);
    ASSERT_EQ(made.size(), 1);
    EXPECT_TRUE(large.err.contains(QFile::encodeName(made[0]))) << large.err.toStdString();
    const CliRun verified = cli({QStringLiteral("backup"), QStringLiteral("--verify"), backups + u'/' + made[0]}, data);
    EXPECT_TRUE(verified.out.contains(": ok, 1000 cases")) << verified.out.toStdString();
}

// The search prints, newest first, exactly the export lines of the cases holding the keyword.
TEST(CaseLibraryCli, SearchPrintsTheMatchingCasesAsExportLinesNewestFirst) {
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("data"));
    const QString cases = writeFile(dir, "cases.jsonl",
                                    "{\"gua_bianhao\":\"A\",\"lei_mingcheng\":\"求财\",\"shiyou\":\"问财运\"}\n"
                                    "{\"gua_bianhao\":\"B\",\"lei_mingcheng\":\"婚姻\",\"duanyu\":\"财旺 50%\"}\n"
                                    "{\"gua_bianhao\":\"C\",\"lei_mingcheng\":\"求财\",\"fankui\":\"得财\"}\n"
                                    "{\"gua_bianhao\":\"D\",\"gua_ming\":\"Qian\"}\n");
    ASSERT_EQ(cli({QStringLiteral("cases"), QStringLiteral("import"), cases}, data).status, 0);
    const QList<QByteArray> exported =
        cli({QStringLiteral("cases"), QStringLiteral("export"), QStringLiteral("-")}, data).out.split('\n');
    ASSERT_GE(exported.size(), 4);  // ids 1 to 4 in file order
    struct Case {
        QStringList args;
        QList<int> lines;  // indexes into the export, in the order printed
    };
    const Case searches[] = {
        {{QStringLiteral("财")}, {2, 1, 0}},
        {{QStringLiteral("财"), QStringLiteral("--limit"), QStringLiteral("2")}, {2, 1}},
        {{QStringLiteral("财"), QStringLiteral("--category"), QStringLiteral("求财")}, {2, 0}},
        {{QStringLiteral("0%")}, {1}},
        {{QStringLiteral("%")}, {1}},
        {{QStringLiteral("qIAN")}, {3}},
        {{QStringLiteral("财运旺")}, {}},
    };
    for (const Case& c : searches) {
        const CliRun run = cli(QStringList{QStringLiteral("cases"), QStringLiteral("search")} + c.args, data);
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        QByteArray expected;
        for (const int line : c.lines) expected += exported[line] + '\n';
        EXPECT_EQ(run.out, expected) << c.args.join(u' ').toStdString();
    }
    struct Bad {
        QStringList args;
        int status;
    };
    const Bad bad[] = {
        {{QStringLiteral("财"), QStringLiteral("--limit"), QStringLiteral("0")}, 2},
        {{QStringLiteral("财"), QStringLiteral("--limit"), QStringLiteral("x")}, 2},
        {{QString()}, 2},
        {{}, 2},
        {{QStringLiteral("财"), QStringLiteral("--category"), QStringLiteral("没有这类")}, 1},
    };
    for (const Bad& b : bad) {
        const CliRun run = cli(QStringList{QStringLiteral("cases"), QStringLiteral("search")} + b.args, data);
        EXPECT_EQ(run.status, b.status) << b.args.join(u' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_FALSE(run.err.isEmpty());
    }
}

}  // namespace
