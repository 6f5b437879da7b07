// Opening and creating the database file, the data root, and the statement helpers.
#include "store/database.h"
#include "store/data_root.h"
#include "store/sql_script.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

using store::Database;
using store::DatabaseError;

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(DatabaseFile, MissingFileIsCreatedWithFolderSchemaAndRows) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("nested/data/qinglan.db"));
    {
        auto db = Database::open(path);
        EXPECT_EQ(db->getFirstInteger(QStringLiteral("select count(*) from bagua")), 64);
        EXPECT_EQ(db->getFirstString(QStringLiteral("select lei_mingcheng from fenlei_table where lei_id=1")),
                  QStringLiteral("杂类"));
        EXPECT_EQ(db->getFirstItems(QStringLiteral("select id from zhi where id in (85,86,88) order by id")),
                  (QStringList{"85", "86", "88"}));
        db->execute(QStringLiteral("update zhi set value1='0' where id=85"));
    }
    // Reopening keeps what is there: nothing is seeded twice or overwritten.
    auto again = Database::open(path);
    EXPECT_EQ(again->getFirstInteger(QStringLiteral("select count(*) from bagua")), 64);
    EXPECT_EQ(again->getFirstString(QStringLiteral("select value1 from zhi where id=85")), QStringLiteral("0"));
}

TEST(DatabaseFile, RefusesFilesThatAreNotOurDatabaseAndLeavesThemAlone) {
    QTemporaryDir dir;
    struct Case {
        const char* file;
        QByteArray content;
        const char* needle;
    };
    const Case cases[] = {
        {"text.db", QByteArray("这不是数据库\n", 19) + QByteArray(5000, 'x'), "不是可用的数据库"},
        {"empty.db", QByteArray(), "空文件"},
        {"short.db", QByteArray("SQLite format 3"), "不是 SQLite 数据库"},
    };
    for (const Case& c : cases) {
        const QString path = dir.filePath(QString::fromLatin1(c.file));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.content);
        file.close();
        try {
            Database::open(path);
            ADD_FAILURE() << c.file << " was accepted";
        } catch (const DatabaseError& e) {
            EXPECT_TRUE(e.text().contains(path)) << e.text().toStdString();
            EXPECT_TRUE(e.text().contains(QString::fromUtf8(c.needle))) << e.text().toStdString();
        }
        EXPECT_EQ(readAll(path), c.content) << c.file;
        for (const char* companion : {"-journal", "-wal", "-shm"})
            EXPECT_FALSE(QFile::exists(path + QLatin1String(companion))) << c.file << companion;
    }
}

TEST(DatabaseFile, ADatabaseWithoutOneOfTheTablesIsRefusedByName) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("qinglan.db"));
    {
        auto db = Database::open(path);
        db->execute(QStringLiteral("drop table bagua"));
    }
    const QByteArray before = readAll(path);
    try {
        Database::open(path);
        ADD_FAILURE() << "accepted a file without bagua";
    } catch (const DatabaseError& e) {
        EXPECT_TRUE(e.text().contains(QStringLiteral("bagua"))) << e.text().toStdString();
        EXPECT_TRUE(e.text().contains(path));
    }
    EXPECT_EQ(readAll(path), before);
}

TEST(StatementHelpers, FirstValuesAndEmptyResults) {
    auto db = Database::openInMemory();
    EXPECT_EQ(db->getFirstString(QStringLiteral("select value2 from bagua where gm=?"), {QStringLiteral("地天泰")}),
              QStringLiteral("222111"));
    EXPECT_EQ(db->getFirstString(QStringLiteral("select value2 from bagua where gm=?"), {QStringLiteral("无此卦")}),
              QString());
    EXPECT_EQ(db->getFirstInteger(QStringLiteral("select lei_id from fenlei_table where lei_mingcheng=?"),
                                  {QStringLiteral("无此类")}),
              0);
    EXPECT_EQ(db->getFirstInteger(QStringLiteral("select max(lei_id) from fenlei_table where lei_mingcheng=?"),
                                  {QStringLiteral("无此类")}),
              0);  // a null reads as 0
    EXPECT_EQ(
        db->getFirstItems(QStringLiteral("select lei_mingcheng from fenlei_table where lei_id<=3 order by lei_id")),
        (QStringList{"杂类", "求财", "事业"}));
    EXPECT_TRUE(db->getFirstItems(QStringLiteral("select gm from bagua where gm=''")).isEmpty());
}

TEST(StatementHelpers, QuotesInValuesNeverBreakAStatement) {
    auto db = Database::openInMemory();
    const QString name = QStringLiteral("O'Brien's \"类\" 100% ; drop table bagua; --");
    db->execute(QStringLiteral("insert into fenlei_table(lei_id,lei_mingcheng) values(?,?)"), {99, name});
    EXPECT_EQ(db->getFirstInteger(QStringLiteral("select lei_id from fenlei_table where lei_mingcheng=?"), {name}), 99);
    EXPECT_EQ(db->getFirstInteger(QStringLiteral("select count(*) from bagua")), 64);
}

TEST(StatementHelpers, AFailedStatementCarriesTheDatabaseText) {
    auto db = Database::openInMemory();
    try {
        db->execute(QStringLiteral("update no_such_table set x=1"));
        ADD_FAILURE() << "no error";
    } catch (const DatabaseError& e) {
        EXPECT_TRUE(e.text().contains(QStringLiteral("no_such_table"))) << e.text().toStdString();
    }
    EXPECT_THROW(db->getFirstString(QStringLiteral("select nonsense from bagua")), DatabaseError);
}

TEST(StatementHelpers, AnUncommittedTransactionLeavesNothing) {
    auto db = Database::openInMemory();
    try {
        store::Transaction transaction(*db);
        db->execute(QStringLiteral("insert into fenlei_table(lei_id,lei_mingcheng) values(50,'半途')"));
        db->execute(QStringLiteral("insert into fenlei_table(lei_id,lei_mingcheng) values(50,'重复')"));
        transaction.commit();
    } catch (const DatabaseError&) {
    }
    EXPECT_EQ(db->getFirstInteger(QStringLiteral("select count(*) from fenlei_table where lei_id=50")), 0);
}

TEST(SqlScript, SplitsAtSemicolonsOutsideQuotesAndDropsComments) {
    const QString script = QStringLiteral(
        "-- head; comment\ncreate table t(a);\ninsert into t values('x;y -- z''s');\n\n"
        "insert into t values(1) -- tail;\n;"
        "create trigger g after insert on t begin\n  delete from t;\n  select 1;\nend;");
    EXPECT_EQ(store::splitSqlScript(script),
              (QStringList{"create table t(a)", "insert into t values('x;y -- z''s')", "insert into t values(1)",
                           "create trigger g after insert on t begin\n  delete from t;\n  select 1;\nend"}));
}

TEST(DataRoot, ArgumentThenEnvironmentThenPortableFolderThenTheUserDataFolder) {
    QTemporaryDir programDir, portableDir;
    const QString program = programDir.path();
    // A portable install: data/qinglan.db beside the program.
    const QString portable = QDir(portableDir.path()).filePath(QStringLiteral("data"));
    ASSERT_TRUE(QDir().mkpath(portable));
    QFile marker(store::databaseFilePath(portable));
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.close();
    // A plain program folder, even with an empty data/ folder beside it, is not used.
    ASSERT_TRUE(QDir().mkpath(QDir(program).filePath(QStringLiteral("data"))));

    auto env = [](std::initializer_list<std::pair<const char*, const char*>> vars) {
        QProcessEnvironment e;
        for (const auto& [k, v] : vars) e.insert(QString::fromLatin1(k), QString::fromLatin1(v));
        return e;
    };
    struct Case {
        QStringList args;
        QProcessEnvironment env;
        QString programFolder;
        QString expected;
    };
    const Case cases[] = {
        {{"qinglan", "--data-dir", "/arg/dir"},
         env({{"QINGLAN_DATA_DIR", "/env/dir"}}),
         portableDir.path(),
         "/arg/dir"},
        {{"qinglan", "--data-dir=/arg/eq"}, env({{"QINGLAN_DATA_DIR", "/env/dir"}}), program, "/arg/eq"},
        {{"qinglan"}, env({{"QINGLAN_DATA_DIR", "/env/dir"}}), portableDir.path(), "/env/dir"},
        {{"qinglan", "--data-dir"}, env({{"QINGLAN_DATA_DIR", "/env/dir"}}), program, "/env/dir"},
        {{"qinglan"}, env({{"XDG_DATA_HOME", "/xdg"}, {"HOME", "/home/u"}}), portableDir.path(), portable},
        {{"qinglan"}, env({{"XDG_DATA_HOME", "/xdg"}, {"HOME", "/home/u"}}), program, "/xdg/qinglan"},
        {{"qinglan"}, env({{"HOME", "/home/u"}}), program, "/home/u/.local/share/qinglan"},
        // The base directory rule: a relative XDG_DATA_HOME is ignored.
        {{"qinglan"},
         env({{"XDG_DATA_HOME", "rel/xdg"}, {"HOME", "/home/u"}}),
         program,
         "/home/u/.local/share/qinglan"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(store::resolveDataRoot(c.args, c.env, c.programFolder), c.expected)
            << c.args.join(u' ').toStdString();
    EXPECT_EQ(store::databaseFilePath(QStringLiteral("/x/data")), QStringLiteral("/x/data/qinglan.db"));
    EXPECT_EQ(store::noteFolderPath(QStringLiteral("/x/data")), QStringLiteral("/x/data/save"));
}

}  // namespace
