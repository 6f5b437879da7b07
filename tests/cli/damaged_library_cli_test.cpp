// qinglan-cli on a library file damaged at a known page, check and repair, reading commands that
// leave the file as it was, and the arguments every command refuses. Real processes, real files.
#include <gtest/gtest.h>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>

namespace {

struct CliRun {
    int status = -1;
    QByteArray out, err;
};

CliRun run(const QString& program, const QStringList& args, const QByteArray& input = {}) {
    QProcess process;
    process.start(program, args);
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(120000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

CliRun cli(const QStringList& args, const QString& dataDir, const QByteArray& input = {}) {
    return run(QStringLiteral(QINGLAN_CLI),
               args + QStringList{QStringLiteral("--data-dir"), dataDir, QStringLiteral("--create")}, input);
}

// Cases with judgments long enough that the table spans many pages; each holds 卦.
QByteArray generatedCases(int count) {
    QByteArray lines;
    for (int i = 1; i <= count; ++i)
        lines += QStringLiteral("{\"gua_bianhao\":\"N%1\",\"shiyou\":\"问卦%1\",\"duanyu\":\"%2\"}\n")
                     .arg(i)
                     .arg(QString(120, QChar(u'断')))
                     .toUtf8();
    return lines;
}

QByteArray digest(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// A leaf page of the case table from the middle of the file, found through SQLite's page list.
qint64 middleCasePage(const QString& path, qint64& pageSize) {
    qint64 page = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("pages"));
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        db.open();
        QSqlQuery query(db);
        query.exec(QStringLiteral("pragma page_size"));
        query.next();
        pageSize = query.value(0).toLongLong();
        query.exec(
            QStringLiteral("select pageno from dbstat where name='gua_table' and pagetype='leaf' order by pageno"));
        QList<qint64> pages;
        while (query.next()) pages << query.value(0).toLongLong();
        if (!pages.isEmpty()) page = pages[pages.size() / 2];
    }
    QSqlDatabase::removeDatabase(QStringLiteral("pages"));
    return page;
}

void damagePage(const QString& path, qint64 page, qint64 pageSize) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.seek((page - 1) * pageSize);
    file.write(QByteArray(pageSize, '\x5a'));
}

TEST(DamagedLibraryCli, ExportSearchCheckAndRepairOfAFileDamagedAtAKnownPage) {
    constexpr int kCases = 2000;
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("data"));
    const QString db = data + QStringLiteral("/qinglan.db");
    ASSERT_EQ(
        cli({QStringLiteral("cases"), QStringLiteral("import"), QStringLiteral("-")}, data, generatedCases(kCases))
            .status,
        0);
    qint64 pageSize = 0;
    const qint64 page = middleCasePage(db, pageSize);
    ASSERT_GT(page, 0);
    damagePage(db, page, pageSize);
    const QByteArray damaged = digest(db);

    const CliRun toOutput = cli({QStringLiteral("cases"), QStringLiteral("export"), QStringLiteral("-")}, data);
    EXPECT_EQ(toOutput.status, 1);
    const qint64 written = toOutput.out.count('\n');
    EXPECT_GT(written, 0);
    EXPECT_LT(written, kCases);
    EXPECT_TRUE(toOutput.err.contains("已损坏")) << toOutput.err.toStdString();
    // It says after which case it stopped: the last one written.
    const QJsonObject last = QJsonDocument::fromJson(toOutput.out.split('\n')[written - 1]).object();
    EXPECT_TRUE(toOutput.err.contains(QStringLiteral("在 id %1 的案例之后").arg(last.value("id").toInteger()).toUtf8()))
        << toOutput.err.toStdString();

    // An earlier export file stays as it was; no part of this one appears.
    const QString file = dir.filePath(QStringLiteral("cases.jsonl"));
    QFile earlier(file);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("earlier\n");
    earlier.close();
    EXPECT_EQ(cli({QStringLiteral("cases"), QStringLiteral("export"), file}, data).status, 1);
    EXPECT_EQ(digest(file), QCryptographicHash::hash("earlier\n", QCryptographicHash::Sha256));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("cases.jsonl")});

    const CliRun search = cli({QStringLiteral("cases"), QStringLiteral("search"), QStringLiteral("--limit"),
                               QStringLiteral("100000"), QStringLiteral("卦")},
                              data);
    EXPECT_EQ(search.status, 1);
    EXPECT_TRUE(search.err.contains("已损坏")) << search.err.toStdString();

    const CliRun check = cli({QStringLiteral("check")}, data);
    EXPECT_EQ(check.status, 1);
    EXPECT_FALSE(check.out.contains("integrity: ok\n")) << check.out.toStdString();

    const CliRun repair = cli({QStringLiteral("repair")}, data);
    EXPECT_EQ(repair.status, 1) << repair.err.toStdString();
    EXPECT_EQ(digest(db), damaged);  // the damaged file is left as it was
    const QList<QByteArray> said = repair.out.split('\n');
    ASSERT_TRUE(said[0].startsWith("copied ")) << repair.out.toStdString();
    const qint64 copied = said[0].split(' ')[1].toLongLong();
    EXPECT_GE(copied, written);
    EXPECT_LT(copied, kCases);  // the cases of the damaged page are missing, and named
    EXPECT_TRUE(repair.out.contains("not readable: gua_table")) << repair.out.toStdString();
    const QString copy = QString::fromUtf8(said[0].mid(said[0].indexOf(" into ") + 6));
    ASSERT_TRUE(QFileInfo::exists(copy)) << copy.toStdString();

    // The copy is a sound library holding every case that could be read.
    ASSERT_EQ(cli({QStringLiteral("restore"), copy}, data).status, 0);
    EXPECT_EQ(cli({QStringLiteral("check")}, data).status, 0);
    const CliRun after = cli({QStringLiteral("cases"), QStringLiteral("export"), QStringLiteral("-")}, data);
    EXPECT_EQ(after.status, 0);
    EXPECT_EQ(after.out.count('\n'), copied);
    EXPECT_TRUE(after.out.startsWith(toOutput.out));  // the same cases, ids and all, up to the damage
}

TEST(DamagedLibraryCli, CheckAndRepairOfASoundFile) {
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("data"));
    ASSERT_EQ(
        cli({QStringLiteral("cases"), QStringLiteral("import"), QStringLiteral("-")}, data, generatedCases(3)).status,
        0);
    const CliRun check = cli({QStringLiteral("check")}, data);
    EXPECT_EQ(check.status, 0) << check.out.toStdString() << check.err.toStdString();
    EXPECT_TRUE(check.out.contains("integrity: ok\nkeyword index: ok\nschema version: ")) << check.out.toStdString();
    EXPECT_TRUE(check.out.contains("\ncases: 3\n")) << check.out.toStdString();
    const QJsonObject json =
        QJsonDocument::fromJson(cli({QStringLiteral("check"), QStringLiteral("--json")}, data).out).object();
    EXPECT_EQ(json.value("cases").toInteger(), 3);
    EXPECT_TRUE(json.value("sound").toBool());

    const CliRun repair = cli({QStringLiteral("repair")}, data);
    EXPECT_EQ(repair.status, 0) << repair.err.toStdString();
    EXPECT_EQ(repair.out, "the keyword index was made again\n");
    const CliRun found = cli({QStringLiteral("cases"), QStringLiteral("search"), QStringLiteral("问卦2")}, data);
    EXPECT_EQ(found.out.count('\n'), 1) << found.out.toStdString();
}

// Reading commands write nothing: the file keeps its bytes and time, and no journal or log appears.
// A file the desktop program keeps on the write-ahead log is read with what the log holds.
TEST(DamagedLibraryCli, ReadingCommandsLeaveTheFileAsItIsAndReadThroughALog) {
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("data"));
    const QString db = data + QStringLiteral("/qinglan.db");
    ASSERT_EQ(
        cli({QStringLiteral("cases"), QStringLiteral("import"), QStringLiteral("-")}, data, generatedCases(5)).status,
        0);
    const QByteArray before = digest(db);
    const QDateTime modified = QFileInfo(db).lastModified();
    const QStringList reading[] = {
        {QStringLiteral("cases"), QStringLiteral("search"), QStringLiteral("卦")},
        {QStringLiteral("cases"), QStringLiteral("export"), QStringLiteral("-")},
        {QStringLiteral("chart"), QStringLiteral("20240204123412")},
        {QStringLiteral("analyse"), QStringLiteral("20240204123412")},
        {QStringLiteral("check")},
    };
    for (const QStringList& args : reading) {
        const CliRun r = cli(args, data);
        EXPECT_EQ(r.status, 0) << args.join(u' ').toStdString() << r.err.toStdString();
        EXPECT_EQ(digest(db), before) << args.join(u' ').toStdString();
        EXPECT_EQ(QFileInfo(db).lastModified(), modified) << args.join(u' ').toStdString();
        EXPECT_EQ(QDir(data).entryList({QStringLiteral("qinglan.db-*")}, QDir::Files), QStringList{});
    }

    {
        QSqlDatabase writer = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("writer"));
        writer.setDatabaseName(db);
        ASSERT_TRUE(writer.open());
        QSqlQuery query(writer);
        ASSERT_TRUE(query.exec(QStringLiteral("pragma journal_mode=wal")));
        ASSERT_TRUE(query.exec(QStringLiteral("pragma wal_autocheckpoint=0")));
        ASSERT_TRUE(query.exec(QStringLiteral("insert into fenlei_table(lei_id,lei_mingcheng) values(900,'日志中')")));
        ASSERT_TRUE(QFileInfo::exists(db + QStringLiteral("-wal")));
        const CliRun inLog = cli({QStringLiteral("cases"), QStringLiteral("export"), QStringLiteral("--category"),
                                  QStringLiteral("日志中"), QStringLiteral("-")},
                                 data);
        EXPECT_EQ(inLog.status, 0) << inLog.err.toStdString();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("writer"));
}

// Arguments refused with status 2 and a message saying what is wrong; raw bytes go through sh.
TEST(DamagedLibraryCli, BadArgumentsAreRefusedWithAMessage) {
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("data"));
    QFile plain(dir.filePath(QStringLiteral("plain")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    const QString cliPath = QStringLiteral(QINGLAN_CLI);
    struct Bad {
        QString shell;  // arguments after the program, as sh reads them
        const char* said;
    };
    const Bad bad[] = {
        {QStringLiteral("chart 201801011234561"), "14 digits"},
        {QStringLiteral("chart \"$(printf '20180101123412\\377')\""), "not valid UTF-8"},
        {QStringLiteral("cases search \"$(printf '\\377')\""), "not valid UTF-8"},
        {QStringLiteral("chart 20180101123412 --json --json"), "--json is given more than once"},
        {QStringLiteral("cases search --limit 5 --limit 6 财"), "--limit is given more than once"},
        {QStringLiteral("calendar days -5 2000"), "years must lie within 1899..2100, not -5"},
        {QStringLiteral("cases export --data-dir ") + plain.fileName() + QStringLiteral(" -"), "is not a folder"},
    };
    for (const Bad& b : bad) {
        const CliRun r =
            run(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("exec \"$0\" ") + b.shell, cliPath});
        EXPECT_EQ(r.status, 2) << b.shell.toStdString();
        EXPECT_TRUE(r.err.contains(b.said)) << b.shell.toStdString() << ": " << r.err.toStdString();
    }
    const CliRun help = run(cliPath, {QStringLiteral("cases"), QStringLiteral("--help")});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.contains("search")) << help.out.toStdString();

    const CliRun imported = cli({QStringLiteral("cases"), QStringLiteral("import"), QStringLiteral("--json"),
                                 QStringLiteral("--skip-refused"), QStringLiteral("-")},
                                data, "{\"gua_bianhao\":\"A\"}\nnot json\n");
    EXPECT_EQ(imported.status, 0) << imported.err.toStdString();
    const QJsonObject report = QJsonDocument::fromJson(imported.out).object();
    EXPECT_EQ(report.value("added").toInteger(), 1);
    EXPECT_EQ(report.value("refused").toArray().size(), 1);
    EXPECT_EQ(report.value("refused").toArray()[0].toObject().value("line").toInteger(), 2);
}

}  // namespace
