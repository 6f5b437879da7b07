// The generated texts of the windows in the language shown (here 繁體, Taiwan): the main window's
// labels, its text copy and its analysis report, the 断卦辅助 panel and the calendar's rows.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "language/language.h"
#include "language/traditional_text.h"
#include "test_support/program_fixture.h"
#include "ui/calendar/object_names.h"
#include "ui/main/object_names.h"

namespace {

namespace mainwindow = objectnames::mainwindow;
namespace calendarviewer = objectnames::calendarviewer;
using language::Language;

bool keepsNoSimplified(const QString& text) {
    return language::toTraditional(text, Language::TraditionalTaiwan) == text;
}

}  // namespace

class GeneratedTextShownTest : public QObject {
    Q_OBJECT
private slots:
    void init() { language::setCurrentLanguage(Language::TraditionalTaiwan); }
    void cleanup() { language::setCurrentLanguage(Language::SimplifiedChinese); }

    // 2024-02-04 16:24: 乾为天 moving at the top to 泽天夬.
    void mainWindowLabelsTextCopyAndReport() {
        ProgramFixture f;
        QVERIFY(f.bench().enterCaseNumber(QStringLiteral("20240204311111T:16:24:00")));
        QCOMPARE(control<QLabel>(*f.window, mainwindow::titleLabel)->text(),
                 QStringLiteral("主卦：乾為天(六沖) 變卦：澤天夬"));
        QVERIFY(control<QLabel>(*f.window, mainwindow::mainDescLabel)->text().startsWith(QStringLiteral("乾宮屬金 ")));

        control<QPushButton>(*f.window, mainwindow::copyTextButton)->click();
        const QStringList lines = QApplication::clipboard()->text().split(u'\n');
        QCOMPARE(lines.size(), 13);
        QCOMPARE(lines[0], QStringLiteral("卦例ID=20240204311111 京房式"));
        QCOMPARE(lines[6], QStringLiteral("六獸\t伏神\t  六親納支  世應 爻像    變爻"));
        QCOMPARE(lines[7], QStringLiteral("朱雀\t \t  父母戌土  世\to\t父母未土"));

        control<QPushButton>(*f.window, mainwindow::reportButton)->click();
        const QString report = f.bench().judgment();
        QVERIFY2(report.contains(QStringLiteral("主卦六沖")), qPrintable(report));
        QVERIFY2(keepsNoSimplified(report), qPrintable(report));
    }

    void readingPanelLines() {
        ProgramFixture f;
        QVERIFY(f.bench().enterCaseNumber(QStringLiteral("20240204311111T:16:24:00")));
        f.window->show();
        for (QAction* a : control<QMenu>(*f.window, mainwindow::popupMenu)->actions())
            if (a->objectName() == QLatin1String(mainwindow::readingPanelAction)) a->trigger();
        auto* lines = control<QListWidget>(*f.window, objectnames::readingpanel::lines);
        QStringList texts;
        for (int i = 0; i < lines->count(); ++i) texts << lines->item(i)->text();
        for (const char16_t* expected : {u"用神：未選占類", u"互：乾為天  錯：坤為地  綜：乾為天", u"回頭沖：無"})
            QVERIFY2(texts.contains(QString::fromUtf16(expected)), qPrintable(texts.join(u'\n')));
    }

    // 2024-02-04 is 戊戌 day of 丙寅 month, 十二月廿五 of the lunar year, 立春 at 16:25.
    void calendarRows() {
        ProgramFixture f;
        ui::CalendarViewer& viewer = f.program->calendarViewer;
        viewer.show();
        QCOMPARE(control<QListWidget>(viewer, calendarviewer::monthList)->currentItem()->text(),
                 QStringLiteral("2月 乙丑月-丙寅月"));
        QCOMPARE(control<QListWidget>(viewer, calendarviewer::dayList)->currentItem()->text(),
                 QStringLiteral("4號 丙寅月 戊戌日 星期日 十二月廿五 立春16:25"));
    }
};

QTEST_MAIN(GeneratedTextShownTest)
#include "generated_text_shown_test.moc"
