// 打印 to a PDF file: the picture and the whole text copy below it, read back with pdftotext
// (poppler-utils).
#include <QPrinter>
#include <QProcess>
#include <QTest>

#include "test_support/program_fixture.h"

class ChartPrintTest : public QObject {
    Q_OBJECT
private slots:
    // Every one of the 13 lines is on the page whole (blank runs aside), under both methods,
    // with and without a changed hexagram, with hidden spirits (天风姤 lacks 妻财).
    void everyTextLineIsPrintedWhole_data() {
        QTest::addColumn<QString>("caseNumber");
        QTest::newRow("京房式, changed") << QStringLiteral("20240204311111T:16:24:00");
        QTest::newRow("京房式, no change") << QStringLiteral("20240204111112T:16:24:00");
        QTest::newRow("京房式, hidden spirit") << QStringLiteral("20240204311112T:16:24:00");
        QTest::newRow("藏山卜, changed") << QStringLiteral("20240204434313藏山卜T:09:05:00");
        QTest::newRow("藏山卜, no change") << QStringLiteral("20240204121212藏山卜T:09:05:00");
    }
    void everyTextLineIsPrintedWhole() {
        QFETCH(QString, caseNumber);
        ProgramFixture f;
        QVERIFY(f.bench().enterCaseNumber(caseNumber));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        const QString path = f.dir.filePath(QStringLiteral("chart.pdf"));
        printer.setOutputFileName(path);
        QVERIFY(f.window->printChart(printer));

        QProcess pdftotext;
        pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
        QVERIFY2(pdftotext.waitForFinished(), "pdftotext (poppler-utils, scripts/setup-deps) did not run");
        QCOMPARE(pdftotext.exitCode(), 0);
        QStringList printed;
        for (const QString& line : QString::fromUtf8(pdftotext.readAllStandardOutput()).split(u'\n'))
            printed << line.simplified();

        const QStringList lines = f.bench().chartTextLines();
        QCOMPARE(lines.size(), 13);
        for (const QString& line : lines)
            QVERIFY2(printed.contains(line.simplified()), qPrintable(line.simplified() + u'\n' + printed.join(u'\n')));
    }
};

QTEST_MAIN(ChartPrintTest)
#include "chart_print_test.moc"
