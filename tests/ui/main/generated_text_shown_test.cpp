// The windows' generated texts in the language shown (繁體, Taiwan): the main window's labels,
// text copy and report, the 断卦辅助 panel and the calendar's rows.
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "language/language.h"
#include "test_support/program_fixture.h"
#include "ui/calendar/object_names.h"
#include "ui/main/object_names.h"

namespace mainwindow = objectnames::mainwindow;

class GeneratedTextShownTest : public QObject {
    Q_OBJECT
private slots:
    void init() { language::setCurrentLanguage(language::Language::TraditionalTaiwan); }
    void cleanup() { language::setCurrentLanguage(language::Language::SimplifiedChinese); }

    // 2024-02-04 16:24 (戊戌 day, 十二月廿五, 立春 at 16:25): 乾为天 moving at the top to 泽天夬.
    void labelsTextCopyReportPanelAndCalendar() {
        ProgramFixture f;
        QVERIFY(f.bench().enterCaseNumber(QStringLiteral("20240204311111T:16:24:00")));
        QCOMPARE(control<QLabel>(*f.window, mainwindow::titleLabel)->text(),
                 QStringLiteral("主卦：乾為天(六沖) 變卦：澤天夬"));
        control<QPushButton>(*f.window, mainwindow::copyTextButton)->click();
        const QStringList lines = QApplication::clipboard()->text().split(u'\n');
        QCOMPARE(lines.value(0), QStringLiteral("卦例ID=20240204311111 京房式"));
        QCOMPARE(lines.value(6), QStringLiteral("六獸\t伏神\t  六親納支  世應 爻像    變爻"));
        control<QPushButton>(*f.window, mainwindow::reportButton)->click();
        QVERIFY2(f.bench().judgment().contains(QStringLiteral("主卦六沖\n內卦伏吟")), qPrintable(f.bench().judgment()));

        f.window->show();
        auto* panel = control<QWidget>(*f.window, objectnames::readingpanel::panel);
        panel->show();
        const QList<QListWidgetItem*> found = control<QListWidget>(*f.window, objectnames::readingpanel::lines)
                                                  ->findItems(QStringLiteral("回頭沖：無"), Qt::MatchExactly);
        QCOMPARE(found.size(), 1);

        f.program->calendarViewer.show();
        QCOMPARE(control<QListWidget>(f.program->calendarViewer, objectnames::calendarviewer::dayList)
                     ->currentItem()
                     ->text(),
                 QStringLiteral("4號 丙寅月 戊戌日 星期日 十二月廿五 立春16:25"));
    }
};

QTEST_MAIN(GeneratedTextShownTest)
#include "generated_text_shown_test.moc"
