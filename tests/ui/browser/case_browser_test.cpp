#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "test_support/program_fixture.h"
#include "ui/browser/object_names.h"
#include "ui/main/object_names.h"

namespace {

namespace casebrowser = objectnames::casebrowser;
namespace mainwindow = objectnames::mainwindow;

// Cases: 2023-05 求财 ×1, 2024-02 求财 ×2, 2024-02 事业 ×1, 2024-03 杂类 ×1.
void seedCases(store::CaseStore& cases) {
    struct Seed {
        const char16_t* number;
        const char16_t* category;
        QDate date;
        const char16_t* subject;
    };
    for (const Seed& s : {Seed{u"20230510111111京房式T:08:00:00", u"求财", QDate(2023, 5, 10), u"开店"},
                          Seed{u"20240204222222京房式T:08:00:00", u"求财", QDate(2024, 2, 4), u"借款"},
                          Seed{u"20240205311111京房式T:08:00:00", u"求财", QDate(2024, 2, 5), u"投资"},
                          Seed{u"20240206411111京房式T:08:00:00", u"事业", QDate(2024, 2, 6), u"升职"},
                          Seed{u"20240301111112京房式T:08:00:00", u"杂类", QDate(2024, 3, 1), u"失物"}}) {
        store::CastCase c;
        c.hexagramName = QStringLiteral("乾为天");
        c.caseNumber = QString::fromUtf16(s.number);
        c.category = QString::fromUtf16(s.category);
        c.subject = QString::fromUtf16(s.subject);
        c.castDate = s.date;
        cases.createCase(c);
    }
}

QStringList texts(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

void pick(QListWidget* list, const QString& startsWith) {
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->text().startsWith(startsWith)) {
            list->setCurrentRow(i);
            emit list->itemClicked(list->item(i));
            return;
        }
    }
    QFAIL(qPrintable(QStringLiteral("no item ") + startsWith));
}

QString caseIdOf(const QString& item) { return item.section(u';', 0, 0); }

struct BrowserFixture : ProgramFixture {
    BrowserFixture() : browser(program->caseBrowser) {
        seedCases(bench().caseStore());
        browser.prepareFirstShowing();
    }
    ui::CaseBrowser& browser;
};

}  // namespace

class CaseBrowserTest : public QObject {
    Q_OBJECT
private slots:
    void loggedOutRunUsesTheLocalSource() {
        BrowserFixture f;
        QVERIFY(control<QRadioButton>(f.browser, casebrowser::localSource)->isChecked());
        QVERIFY(!control<QRadioButton>(f.browser, casebrowser::cloudSource)->isEnabled());
        QCOMPARE(control<QListWidget>(f.browser, casebrowser::categoryList)->count(), 13);  // the shipped categories
        control<QRadioButton>(f.browser, casebrowser::localSource)->click();  // refilling does not duplicate
        QCOMPARE(control<QListWidget>(f.browser, casebrowser::categoryList)->count(), 13);
    }

    void drillDownByCategory() {
        BrowserFixture f;
        const QString wealth = control<QListWidget>(f.browser, casebrowser::categoryList)
                                   ->findItems(QStringLiteral("求财"), Qt::MatchEndsWith)
                                   .first()
                                   ->text();
        pick(control<QListWidget>(f.browser, casebrowser::categoryList), wealth);
        QCOMPARE(control<QLabel>(f.browser, casebrowser::selectedLabel)->text(), QStringLiteral("已选") + wealth);
        QCOMPARE(texts(control<QListWidget>(f.browser, casebrowser::yearList)),
                 (QStringList{QStringLiteral("2023"), QStringLiteral("2024")}));
        pick(control<QListWidget>(f.browser, casebrowser::yearList), QStringLiteral("2024"));
        QCOMPARE(texts(control<QListWidget>(f.browser, casebrowser::monthList)), QStringList{QStringLiteral("2")});
        pick(control<QListWidget>(f.browser, casebrowser::monthList), QStringLiteral("2"));
        QCOMPARE(control<QListWidget>(f.browser, casebrowser::caseList)->count(),
                 2);  // 事业 of the same month is not listed
        QCOMPARE(control<QListWidget>(f.browser, casebrowser::caseList)->item(0)->text(),
                 QStringLiteral("2;20240204222222京房式T:08:00:00;借款;乾为天"));
        pick(control<QListWidget>(f.browser, casebrowser::caseList), QStringLiteral("2;"));
        QCOMPARE(control<QPlainTextEdit>(f.browser, casebrowser::textsView)->toPlainText(),
                 QStringLiteral("\n***反馈***\n"));
    }

    void deletingAndMovingTheLocalCasesOfAMonth() {
        BrowserFixture f;
        QListWidget* categories = control<QListWidget>(f.browser, casebrowser::categoryList);
        QListWidget* cases = control<QListWidget>(f.browser, casebrowser::caseList);
        const QString wealth = categories->findItems(QStringLiteral("求财"), Qt::MatchEndsWith).first()->text();
        pick(categories, wealth);
        pick(control<QListWidget>(f.browser, casebrowser::yearList), QStringLiteral("2024"));
        pick(control<QListWidget>(f.browser, casebrowser::monthList), QStringLiteral("2"));
        QCOMPARE(cases->count(), 2);

        // The Delete key asks, naming the case; "no" keeps it.
        pick(cases, QStringLiteral("2;"));
        f.prompter.answers = {workbench::Prompter::Answer::No};
        QTest::keyClick(cases, Qt::Key_Delete);
        QVERIFY(f.prompter.messages.last().contains(QStringLiteral("2;20240204222222京房式T:08:00:00;借款")));
        QCOMPARE(cases->count(), 2);
        f.prompter.answers = {workbench::Prompter::Answer::Yes};
        QTest::keyClick(cases, Qt::Key_Delete);
        QCOMPARE(cases->count(), 1);
        QCOMPARE(f.db->getFirstInteger(QStringLiteral("select count(*) from gua_table where id=2")), 0);

        // Moving the other one to 事业 takes it out of this category's list.
        pick(cases, QStringLiteral("3;"));
        QComboBox* target = control<QComboBox>(f.browser, casebrowser::moveTargetBox);
        target->setCurrentIndex(target->findText(QStringLiteral("事业")));
        control<QPushButton>(f.browser, casebrowser::moveCaseButton)->click();
        QCOMPARE(cases->count(), 0);
        QCOMPARE(f.db->getFirstInteger(QStringLiteral("select count(*) from gua_table g join fenlei_table f on "
                                                      "f.lei_id=g.lei_id where f.lei_mingcheng='事业'")),
                 2);
    }

    void drillDownByTimeSpansCategories() {
        BrowserFixture f;
        control<QRadioButton>(f.browser, casebrowser::byTime)->click();
        QCOMPARE(control<QListWidget>(f.browser, casebrowser::categoryList)->count(), 0);
        QCOMPARE(texts(control<QListWidget>(f.browser, casebrowser::yearList)),
                 (QStringList{QStringLiteral("2023"), QStringLiteral("2024")}));
        pick(control<QListWidget>(f.browser, casebrowser::yearList), QStringLiteral("2024"));
        QCOMPARE(texts(control<QListWidget>(f.browser, casebrowser::monthList)),
                 (QStringList{QStringLiteral("2"), QStringLiteral("3")}));
        pick(control<QListWidget>(f.browser, casebrowser::monthList), QStringLiteral("2"));
        QCOMPARE(control<QListWidget>(f.browser, casebrowser::caseList)->count(), 3);
    }

    void openingTheSameCaseTwiceAddsOneHistoryEntry() {
        BrowserFixture f;
        control<QLineEdit>(f.browser, casebrowser::keywordEdit)->setText(QStringLiteral("投资"));
        control<QPushButton>(f.browser, casebrowser::searchButton)->click();
        QCOMPARE(control<QListWidget>(f.browser, casebrowser::caseList)->count(), 1);
        const int before = f.bench().history().entries().size();
        for (int i = 0; i < 2; ++i) {
            control<QListWidget>(f.browser, casebrowser::caseList)->setCurrentRow(0);
            control<QPushButton>(f.browser, casebrowser::openButton)->click();
        }
        QCOMPARE(f.bench().history().entries().size(), before);  // created cases are already there
        QCOMPARE(control<QLineEdit>(*f.window, mainwindow::caseNumberEdit)->text(), QStringLiteral("20240205311111"));
    }

    void searchIsLiteralAndStopsAtAHundred() {
        BrowserFixture f;
        for (int i = 0; i < 120; ++i) {
            store::CastCase c;
            c.hexagramName = QStringLiteral("乾为天");
            c.caseNumber = QStringLiteral("20240401111111京房式T:08:00:%1").arg(i % 60, 2, 10, QLatin1Char('0'));
            c.subject = QStringLiteral("批量100%_'") + QString::number(i);
            c.castDate = QDate(2024, 4, 1);
            f.bench().caseStore().createCase(c);
        }
        control<QLineEdit>(f.browser, casebrowser::keywordEdit)->setText(QStringLiteral("100%_'"));
        control<QPushButton>(f.browser, casebrowser::searchButton)->click();
        QCOMPARE(control<QListWidget>(f.browser, casebrowser::caseList)->count(), 100);
        control<QLineEdit>(f.browser, casebrowser::keywordEdit)->setText(QStringLiteral("%"));
        control<QPushButton>(f.browser, casebrowser::searchButton)->click();
        QCOMPARE(control<QListWidget>(f.browser, casebrowser::caseList)->count(),
                 100);  // only the cases holding a percent sign
        control<QLineEdit>(f.browser, casebrowser::keywordEdit)->setText(QStringLiteral("_借"));
        control<QPushButton>(f.browser, casebrowser::searchButton)->click();
        QCOMPARE(control<QListWidget>(f.browser, casebrowser::caseList)->count(), 0);
        control<QLineEdit>(f.browser, casebrowser::keywordEdit)->clear();
        control<QPushButton>(f.browser, casebrowser::searchButton)->click();
        QCOMPARE(f.prompter.messages.last(), QStringLiteral("请输入关键字。"));
    }

    // A list reached with Tab has a current row nobody picked; arrow keys pick as a click does,
    // and every list to the right, the label, the texts and the case opened follow.
    void keyboardPicksActAsClicks() {
        BrowserFixture f;
        auto* categories = control<QListWidget>(f.browser, casebrowser::categoryList);
        QFocusEvent tabbedIn(QEvent::FocusIn, Qt::TabFocusReason);
        QApplication::sendEvent(categories, &tabbedIn);
        control<QLineEdit>(f.browser, casebrowser::newNameEdit)->setText(QStringLiteral("新名"));
        control<QPushButton>(f.browser, casebrowser::renameButton)->click();
        QCOMPARE(f.prompter.messages.last(), QStringLiteral("请先选择一个要更改的原类别。"));

        const QString wealth = categories->findItems(QStringLiteral("求财"), Qt::MatchEndsWith).first()->text();
        pick(categories, wealth);
        QTest::keyClick(categories, Qt::Key_Down);
        const QString next =
            categories->item(categories->row(categories->findItems(wealth, Qt::MatchExactly).first()) + 1)->text();
        QCOMPARE(control<QLabel>(f.browser, casebrowser::selectedLabel)->text(), QStringLiteral("已选") + next);
        control<QLineEdit>(f.browser, casebrowser::newNameEdit)->setText(QStringLiteral("新名"));
        f.prompter.answers = {workbench::Prompter::Answer::Yes};
        control<QPushButton>(f.browser, casebrowser::renameButton)->click();
        QCOMPARE(f.prompter.messages.last(), QStringLiteral("是否将已选") + next + QStringLiteral(" 更改为新名"));
        const qint64 id = ui::categoryIdOfItem(next);
        QCOMPARE(f.db->getFirstString(QStringLiteral("select lei_mingcheng from fenlei_table where lei_id=?"), {id}),
                 QStringLiteral("新名"));
        QCOMPARE(f.db->getFirstString(QStringLiteral("select lei_mingcheng from fenlei_table where lei_id=?"),
                                      {ui::categoryIdOfItem(wealth)}),
                 QStringLiteral("求财"));

        // By time: the year key refills the months, the case key the texts and what is opened.
        control<QRadioButton>(f.browser, casebrowser::byTime)->click();
        auto* years = control<QListWidget>(f.browser, casebrowser::yearList);
        pick(years, QStringLiteral("2024"));
        QCOMPARE(texts(control<QListWidget>(f.browser, casebrowser::monthList)),
                 (QStringList{QStringLiteral("2"), QStringLiteral("3")}));
        QTest::keyClick(years, Qt::Key_Up);
        QCOMPARE(texts(control<QListWidget>(f.browser, casebrowser::monthList)), QStringList{QStringLiteral("5")});
        QCOMPARE(control<QListWidget>(f.browser, casebrowser::caseList)->count(), 0);
        QTest::keyClick(years, Qt::Key_Down);
        pick(control<QListWidget>(f.browser, casebrowser::monthList), QStringLiteral("2"));
        auto* cases = control<QListWidget>(f.browser, casebrowser::caseList);
        f.db->execute(QStringLiteral("update gua_table set duanyu='断'||id"));
        pick(cases, QStringLiteral("2;"));
        QTest::keyClick(cases, Qt::Key_Down);
        const QString shown = caseIdOf(cases->item(1)->text());
        QCOMPARE(control<QPlainTextEdit>(f.browser, casebrowser::textsView)->toPlainText(),
                 QStringLiteral("断%1\n***反馈***\n").arg(shown));
        QTest::keyClick(cases, Qt::Key_Return);
        QCOMPARE(f.bench().judgment(), QStringLiteral("断") + shown);
    }

    void renameWithEveryRefusal() {
        BrowserFixture f;
        control<QPushButton>(f.browser, casebrowser::renameButton)->click();
        QCOMPARE(f.prompter.messages.last(), QStringLiteral("请先选择一个要更改的原类别。"));
        const QString other = control<QListWidget>(f.browser, casebrowser::categoryList)
                                  ->findItems(QStringLiteral("其他"), Qt::MatchEndsWith)
                                  .first()
                                  ->text();
        pick(control<QListWidget>(f.browser, casebrowser::categoryList), other);
        control<QLineEdit>(f.browser, casebrowser::newNameEdit)->setText(QStringLiteral("   "));
        control<QPushButton>(f.browser, casebrowser::renameButton)->click();
        QCOMPARE(f.prompter.messages.last(), QStringLiteral("请输入新类别名称"));
        QCOMPARE(control<QLineEdit>(f.browser, casebrowser::newNameEdit)->text(), QString());
        control<QLineEdit>(f.browser, casebrowser::newNameEdit)->setText(QStringLiteral(" 求财 "));
        control<QPushButton>(f.browser, casebrowser::renameButton)->click();
        QCOMPARE(f.prompter.messages.last(), QStringLiteral("新类别名称不能和现已存在名称相同。"));
        // Names longer than the store keeps are refused; whole names are compared, so the first
        // 32 characters of an older, longer name are a different name.
        control<QLineEdit>(f.browser, casebrowser::newNameEdit)->setText(QString(33, u'长'));
        control<QPushButton>(f.browser, casebrowser::renameButton)->click();
        QCOMPARE(f.prompter.messages.last(), QStringLiteral("类别名称最长32个字。"));
        const QString longName = QString(40, u'长');
        f.db->execute(QStringLiteral("update fenlei_table set lei_mingcheng=? where lei_mingcheng=?"),
                      {longName, QStringLiteral("天气")});
        control<QRadioButton>(f.browser, casebrowser::byCategory)->click();
        pick(control<QListWidget>(f.browser, casebrowser::categoryList), other);
        control<QLineEdit>(f.browser, casebrowser::newNameEdit)->setText(longName.left(32));
        f.prompter.answers = {workbench::Prompter::Answer::No};
        control<QPushButton>(f.browser, casebrowser::renameButton)->click();
        QVERIFY(f.prompter.messages.last().startsWith(QStringLiteral("是否将已选")));
        control<QLineEdit>(f.browser, casebrowser::newNameEdit)->setText(QStringLiteral("占'卜"));
        f.prompter.answers = {workbench::Prompter::Answer::No};
        control<QPushButton>(f.browser, casebrowser::renameButton)->click();
        QCOMPARE(f.prompter.messages.last(), QStringLiteral("是否将已选") + other + QStringLiteral(" 更改为占'卜"));
        QCOMPARE(control<QListWidget>(f.browser, casebrowser::categoryList)->currentItem()->text(), other);
        f.prompter.answers = {workbench::Prompter::Answer::Yes};
        control<QPushButton>(f.browser, casebrowser::renameButton)->click();
        const qint64 id = ui::categoryIdOfItem(other);
        QCOMPARE(control<QListWidget>(f.browser, casebrowser::categoryList)->currentItem()->text(),
                 QStringLiteral("(%1)占'卜").arg(id));
        QCOMPARE(f.db->getFirstString(QStringLiteral("select lei_mingcheng from fenlei_table where lei_id=?"), {id}),
                 QStringLiteral("占'卜"));
        QVERIFY(control<QLineEdit>(f.browser, casebrowser::newNameEdit)->text().isEmpty());
    }
};

QTEST_MAIN(CaseBrowserTest)
#include "case_browser_test.moc"
