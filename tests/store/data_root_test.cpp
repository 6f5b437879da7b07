// Which data roots the user named, when a missing one is made, and where an installed program
// finds its shipped files.
#include "store/data_root.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

QProcessEnvironment environment(const QString& dataDir) {
    QProcessEnvironment e;
    e.insert(QStringLiteral("HOME"), QStringLiteral("/home/u"));
    if (!dataDir.isNull()) e.insert(QStringLiteral("QINGLAN_DATA_DIR"), dataDir);
    return e;
}

TEST(DataRoot, OnlyAFolderTheUserNamedWaitsForCreate) {
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("missing"));
    const QString present = dir.path();
    const struct {
        QStringList args;
        QString environmentDir;  // null: no $QINGLAN_DATA_DIR
        bool create;
        bool named;
        store::DataRootState state;
    } cases[] = {
        {{"qinglan", "--data-dir", missing}, {}, false, true, store::DataRootState::Missing},
        {{"qinglan", "--data-dir=" + missing}, {}, false, true, store::DataRootState::Missing},
        {{"qinglan"}, missing, false, true, store::DataRootState::Missing},
        // An empty $QINGLAN_DATA_DIR names nothing.
        {{"qinglan", "--data-dir", present}, QStringLiteral(""), false, true, store::DataRootState::Ready},
        {{"qinglan"}, present, false, true, store::DataRootState::Ready},
        {{"qinglan", "--data-dir", missing + "/a"}, {}, true, true, store::DataRootState::Created},
    };
    for (const auto& c : cases) {
        const store::DataRootChoice root = store::chooseDataRoot(c.args, environment(c.environmentDir), QString());
        EXPECT_EQ(root.named, c.named) << c.args.join(u' ').toStdString();
        EXPECT_EQ(store::prepareDataRoot(root, c.create), c.state) << c.args.join(u' ').toStdString();
        EXPECT_EQ(QFileInfo(root.path).isDir(), c.state != store::DataRootState::Missing) << root.path.toStdString();
    }

    // The default folder is the program's own: made when missing, without asking.
    QTemporaryDir home;
    QProcessEnvironment e;
    e.insert(QStringLiteral("HOME"), home.path());
    const store::DataRootChoice fallback = store::chooseDataRoot({QStringLiteral("qinglan")}, e, QString());
    EXPECT_FALSE(fallback.named);
    EXPECT_EQ(fallback.path, home.filePath(QStringLiteral(".local/share/qinglan")));
    EXPECT_EQ(store::prepareDataRoot(fallback, false), store::DataRootState::Created);
    EXPECT_EQ(store::prepareDataRoot(fallback, false), store::DataRootState::Ready);

    // A file where the folder should be cannot become one.
    const QString file = dir.filePath(QStringLiteral("file"));
    QFile(file).open(QIODevice::WriteOnly);
    EXPECT_EQ(store::prepareDataRoot({file + "/below", true}, true), store::DataRootState::CannotCreate);
}

TEST(DataRoot, AnInstalledProgramFindsShareQinglanBesideItsBinFolder) {
    QTemporaryDir prefix;
    ASSERT_TRUE(QDir(prefix.path()).mkpath(QStringLiteral("bin")));
    const QString bin = prefix.filePath(QStringLiteral("bin"));
    // Not installed yet: a program in bin/ without share/qinglan (as in the build folder).
    EXPECT_EQ(store::installedDataFolder(bin), QString());
    EXPECT_EQ(store::installedDataFolder(QString()), QString());
    ASSERT_TRUE(QDir(prefix.path()).mkpath(QStringLiteral("share/qinglan")));
    EXPECT_EQ(store::installedDataFolder(bin), prefix.filePath(QStringLiteral("share/qinglan")));
    EXPECT_EQ(store::installedDataFolder(bin + QStringLiteral("/")), prefix.filePath(QStringLiteral("share/qinglan")));
}

}  // namespace
