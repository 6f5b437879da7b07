#include "chart/text_forms.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include "test_support/qt_printers.h"
#include "test_support/small_tmpfs.h"

namespace {

using namespace Qt::StringLiterals;

chart::ChartState sampleChart() {
    chart::ChartState s;
    s.castTime = QTime(9, 5);
    s.pillarLabel = QStringLiteral("P");
    s.voidText = QStringLiteral("V");
    s.title = QStringLiteral("主卦：乾为天(六冲)");
    s.mainDescription = QStringLiteral("乾宫属金 本宫卦 序数:1 方位:西北");
    const char16_t* rel[] = {u"父母", u"兄弟", u"官鬼", u"父母", u"妻财", u"子孙"};
    const char16_t* be[] = {u"戌土", u"申金", u"午火", u"辰土", u"寅木", u"子水"};
    for (int i = 0; i < 6; ++i) {
        chart::ChartLine& l = s.main[std::size_t(i)];
        l.beast = QStringLiteral("青龙");
        l.relative = QString::fromUtf16(rel[i]);
        l.branchElement = QString::fromUtf16(be[i]);
        l.code = 1;
    }
    s.main[0].hexagramName = QStringLiteral("乾为天");
    s.main[0].mark = u'世';
    s.main[0].code = 3;
    s.main[0].changedLine = QStringLiteral("父母未土");
    s.main[3].mark = u'应';
    s.main[4].hiddenSpirit = QStringLiteral("妻财寅木");
    return s;
}

TEST(TextCopy, ThirteenLinesKeptExactly) {
    const QStringList lines = chart::chartTextLines(sampleChart(), QStringLiteral("20240101311111"));
    ASSERT_EQ(lines.size(), 13);
    EXPECT_EQ(lines[0], u"卦例ID=20240101311111 京房式");
    EXPECT_EQ(lines[1], u"P");
    EXPECT_TRUE(lines[2].startsWith(u"免费六爻排盘软件 "));
    EXPECT_EQ(lines[3], u"V");
    EXPECT_EQ(lines[5], u"乾宫属金 本宫卦 序数:1 方位:西北       ");  // seven blanks, no changed hexagram
    EXPECT_EQ(lines[6], u"六兽\t伏神\t  六亲纳支  世应 爻像    变爻");
    EXPECT_EQ(lines[7], u"青龙\t \t  父母戌土  世\to\t父母未土");
    EXPECT_EQ(lines[8], u"青龙\t \t  兄弟申金   \t一\t");  // static row ends with the tab after its symbol
    EXPECT_EQ(lines[10], u"青龙\t \t  父母辰土  应\t一\t");
    EXPECT_EQ(lines[11], u"青龙\t妻财寅木  妻财寅木   \t一\t");  // hidden spirit without a following tab
}

// The printed table holds the same 13 lines: its cells, blanks between, are each line with its
// tabs and blank runs read as one blank.
TEST(TextCopy, TableRowsAreTheLinesInCells) {
    const QStringList lines = chart::chartTextLines(sampleChart(), QStringLiteral("20240101311111"));
    const QList<QStringList> rows = chart::chartTextTable(sampleChart(), QStringLiteral("20240101311111"));
    ASSERT_EQ(rows.size(), 13);
    EXPECT_EQ(rows[7], (QStringList{u"青龙"_s, {}, u"父母戌土"_s, u"世"_s, u"o"_s, u"父母未土"_s}));
    EXPECT_EQ(rows[11], (QStringList{u"青龙"_s, u"妻财寅木"_s, u"妻财寅木"_s, {}, u"一"_s, {}}));
    for (qsizetype k = 0; k < 13; ++k) {
        EXPECT_EQ(rows[k].size(), k < 6 ? 1 : 6) << k;
        QStringList cells = rows[k];
        cells.removeAll(QString());
        EXPECT_EQ(cells.join(u' ').simplified(), lines[k].simplified()) << k;
    }
    EXPECT_TRUE(chart::chartTextTable(chart::ChartState{}, QString()).isEmpty());
}

TEST(TextCopy, NothingWithoutAChart) {
    EXPECT_TRUE(chart::chartTextLines(chart::ChartState{}, QString()).isEmpty());
    EXPECT_EQ(chart::lineSymbol(2), u"--");
    EXPECT_EQ(chart::lineSymbol(4), u"x");
    EXPECT_EQ(chart::lineSymbol(7), u"E");
}

TEST(NoteLine, ByMethod) {
    chart::ChartState s = sampleChart();
    EXPECT_EQ(chart::noteLine(s, QStringLiteral("20240101311111"), QStringLiteral("abc")),
              u"20240101311111abcT:09:05:00");
    s.method = chart::ArrangementMethod::Zangshan;
    EXPECT_EQ(chart::noteLine(s, QStringLiteral("20240101311111"), QStringLiteral("abc")),
              u"20240101311111[藏山卜] abc");
    EXPECT_EQ(chart::noteFileName(QDate(2026, 3, 9)), u"202603.txt");
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(NoteFile, AppendsPerMonthAndCreatesTheFolder) {
    QTemporaryDir dir;
    const QString save = dir.filePath(QStringLiteral("save"));
    QString error;
    ASSERT_TRUE(chart::appendNote(save, QDate(2026, 12, 1), QStringLiteral("一"), &error)) << error.toStdString();
    ASSERT_TRUE(chart::appendNote(save, QDate(2026, 12, 31), QStringLiteral("二"), &error));
    ASSERT_TRUE(chart::appendNote(save, QDate(2027, 1, 1), QStringLiteral("三"), &error));
    EXPECT_EQ(QString::fromUtf8(readAll(save + QStringLiteral("/202612.txt"))), u"一\n二\n");
    EXPECT_EQ(QString::fromUtf8(readAll(save + QStringLiteral("/202701.txt"))), u"三\n");
}

TEST(NoteFile, KeepsTheEncodingOfAnOldFile) {
    QStringEncoder gb("GB18030");
    if (!gb.isValid()) GTEST_SKIP() << "no GB18030 codec";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("202612.txt"));
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    const QByteArray first = gb.encode(QStringLiteral("旧行"));
    old.write(first);  // no line break at the end
    old.close();
    QString error;
    ASSERT_TRUE(chart::appendNote(dir.path(), QDate(2026, 12, 5), QStringLiteral("新行"), &error));
    QStringEncoder gb2("GB18030");
    EXPECT_EQ(readAll(path), first + "\n" + QByteArray(gb2.encode(QStringLiteral("新行\n"))));
}

// A UTF-16 file with its byte-order mark stays UTF-16 (新 is U+65B0, 旧 U+65E7); one cut
// inside a character is refused and left as it was.
TEST(NoteFile, KeepsAUtf16FileUtf16) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("202612.txt"));
    const QByteArray start = QByteArray::fromHex("fffee7650a00");  // mark, 旧, break
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(start);
    old.close();
    QString error;
    ASSERT_TRUE(chart::appendNote(dir.path(), QDate(2026, 12, 5), QStringLiteral("新"), &error));
    EXPECT_EQ(readAll(path).toHex().toStdString(), "fffee7650a00b0650a00");

    const QByteArray cut = QByteArray::fromHex("fffee7650a");
    ASSERT_TRUE(old.open(QIODevice::WriteOnly | QIODevice::Truncate));
    old.write(cut);
    old.close();
    EXPECT_FALSE(chart::appendNote(dir.path(), QDate(2026, 12, 5), QStringLiteral("新"), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(readAll(path), cut);
}

TEST(NoteFile, ReportsAFolderThatCannotBeMade) {
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("save")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));  // a file where the folder should be
    blocker.close();
    QString error;
    EXPECT_FALSE(
        chart::appendNote(dir.filePath(QStringLiteral("save")), QDate(2026, 12, 1), QStringLiteral("x"), &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(NoteFile, AFullDiskIsReportedAndLeavesNoPartialLine) {
    test_support::SmallTmpfs disk("1m");
    if (!disk.mounted()) GTEST_SKIP() << disk.reason().toStdString();
    const QString save = disk.filePath(QStringLiteral("save"));
    QString error;
    ASSERT_TRUE(chart::appendNote(save, QDate(2026, 12, 1), QStringLiteral("旧行"), &error)) << error.toStdString();
    const QString path = save + QStringLiteral("/202612.txt");
    const QByteArray before = readAll(path);
    // Two pages stay free, so the line starts to be written and then meets the full disk.
    const QString filler = disk.fill();
    QFile shrink(filler);
    ASSERT_TRUE(shrink.resize(shrink.size() - 8192));
    const QString longLine = QStringLiteral("备注").repeated(20000);
    EXPECT_FALSE(chart::appendNote(save, QDate(2026, 12, 2), longLine, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("未保存"))) << error.toStdString();
    EXPECT_EQ(readAll(path), before);
    ASSERT_TRUE(QFile::remove(filler));
    ASSERT_TRUE(chart::appendNote(save, QDate(2026, 12, 2), longLine, &error)) << error.toStdString();
    EXPECT_EQ(readAll(path), before + (longLine + u'\n').toUtf8());
}

}  // namespace
