#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "browser/case_browser.h"
#include "test_support/main_window_fixture.h"

namespace {

// Cases: 2023-05 求财 ×1, 2024-02 求财 ×2, 2024-02 事业 ×1, 2024-03 杂类 ×1.
void seedCases(store::CaseStore& cases) {
    struct Seed { const char16_t* number; const char16_t* category; QDate date; const char16_t* subject; };
    for (const Seed& s : {Seed{u"20230510111111京房式T:08:00:00", u"求财", QDate(2023, 5, 10), u"开店"},
                          Seed{u"20240204222222京房式T:08:00:00", u"求财", QDate(2024, 2, 4), u"借款"},
                          Seed{u"20240205311111京房式T:08:00:00", u"求财", QDate(2024, 2, 5), u"投资"},
                          Seed{u"20240206411111京房式T:08:00:00", u"事业", QDate(2024, 2, 6), u"升职"},
                          Seed{u"20240301111112京房式T:08:00:00", u"杂类", QDate(2024, 3, 1), u"失物"}}) {
        store::CastCase c;
        c.gua_ming = QStringLiteral("乾为天");
        c.caseNumber = QString::fromUtf16(s.number);
        c.category = QString::fromUtf16(s.category);
        c.shiyou = QString::fromUtf16(s.subject);
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

struct BrowserFixture : MainWindowFixture {
    BrowserFixture()
        : browser(window->caseLists(), prompter, [this](qint64 id) { return window->openLocalCase(id); }) {
        seedCases(window->caseStore());
        browser.prepareFirstShowing(false);
    }
    browser::CaseBrowser browser;
};

}  // namespace

class CaseBrowserTest : public QObject {
    Q_OBJECT
private slots:
    void loggedOutRunUsesTheLocalSource() {
        BrowserFixture f;
        QVERIFY(f.browser.localSource->isChecked());
        QVERIFY(!f.browser.cloudSource->isEnabled());
        QCOMPARE(f.browser.categoryList->count(), 13);  // the shipped categories
        f.browser.localSource->click();                 // refilling does not duplicate
        QCOMPARE(f.browser.categoryList->count(), 13);
    }

    void drillDownByCategory() {
        BrowserFixture f;
        const QString wealth = f.browser.categoryList->findItems(QStringLiteral("求财"), Qt::MatchEndsWith).first()->text();
        pick(f.browser.categoryList, wealth);
        QCOMPARE(f.browser.selectedLabel->text(), QStringLiteral("已选") + wealth);
        QCOMPARE(texts(f.browser.yearList), (QStringList{QStringLiteral("2023"), QStringLiteral("2024")}));
        pick(f.browser.yearList, QStringLiteral("2024"));
        QCOMPARE(texts(f.browser.monthList), QStringList{QStringLiteral("2")});
        pick(f.browser.monthList, QStringLiteral("2"));
        QCOMPARE(f.browser.caseList->count(), 2);  // 事业 of the same month is not listed
        QCOMPARE(f.browser.caseList->item(0)->text(), QStringLiteral("2;20240204222222京房式T:08:00:00;借款;乾为天"));
        pick(f.browser.caseList, QStringLiteral("2;"));
        QCOMPARE(f.browser.textsView->toPlainText(), QStringLiteral("\n***反馈***\n"));
    }

    void drillDownByTimeSpansCategories() {
        BrowserFixture f;
        f.browser.byTime->click();
        QCOMPARE(f.browser.categoryList->count(), 0);
        QCOMPARE(texts(f.browser.yearList), (QStringList{QStringLiteral("2023"), QStringLiteral("2024")}));
        pick(f.browser.yearList, QStringLiteral("2024"));
        QCOMPARE(texts(f.browser.monthList), (QStringList{QStringLiteral("2"), QStringLiteral("3")}));
        pick(f.browser.monthList, QStringLiteral("2"));
        QCOMPARE(f.browser.caseList->count(), 3);
    }

    void openingTheSameCaseTwiceAddsOneHistoryEntry() {
        BrowserFixture f;
        f.browser.keywordEdit->setText(QStringLiteral("投资"));
        f.browser.searchButton->click();
        QCOMPARE(f.browser.caseList->count(), 1);
        const int before = f.window->history().entries().size();
        for (int i = 0; i < 2; ++i) {
            f.browser.caseList->setCurrentRow(0);
            f.browser.openButton->click();
        }
        QCOMPARE(f.window->history().entries().size(), before);  // created cases are already there
        QCOMPARE(f.window->caseNumberEdit->text(), QStringLiteral("20240205311111"));
    }

    void searchIsLiteralAndStopsAtAHundred() {
        BrowserFixture f;
        for (int i = 0; i < 120; ++i) {
            store::CastCase c;
            c.gua_ming = QStringLiteral("乾为天");
            c.caseNumber = QStringLiteral("20240401111111京房式T:08:00:%1").arg(i % 60, 2, 10, QLatin1Char('0'));
            c.shiyou = QStringLiteral("批量100%_'") + QString::number(i);
            c.castDate = QDate(2024, 4, 1);
            f.window->caseStore().createCase(c);
        }
        f.browser.keywordEdit->setText(QStringLiteral("100%_'"));
        f.browser.searchButton->click();
        QCOMPARE(f.browser.caseList->count(), 100);
        f.browser.keywordEdit->setText(QStringLiteral("%"));
        f.browser.searchButton->click();
        QCOMPARE(f.browser.caseList->count(), 100);  // only the cases holding a percent sign
        f.browser.keywordEdit->setText(QStringLiteral("_借"));
        f.browser.searchButton->click();
        QCOMPARE(f.browser.caseList->count(), 0);
        f.browser.keywordEdit->clear();
        f.browser.searchButton->click();
        QCOMPARE(f.prompter.messages.last(), QStringLiteral("请输入关键字。"));
    }

    void renameWithEveryRefusal() {
        BrowserFixture f;
        f.browser.renameButton->click();
        QCOMPARE(f.prompter.messages.last(), QStringLiteral("请先选择一个要更改的原类别。"));
        const QString other = f.browser.categoryList->findItems(QStringLiteral("其他"), Qt::MatchEndsWith).first()->text();
        pick(f.browser.categoryList, other);
        f.browser.newNameEdit->setText(QStringLiteral("   "));
        f.browser.renameButton->click();
        QCOMPARE(f.prompter.messages.last(), QStringLiteral("请输入新类别名称"));
        QCOMPARE(f.browser.newNameEdit->text(), QString());
        f.browser.newNameEdit->setText(QStringLiteral(" 求财 "));
        f.browser.renameButton->click();
        QCOMPARE(f.prompter.messages.last(), QStringLiteral("新类别名称不能和现已存在名称相同。"));
        // A name equal to the first 32 characters of a longer one is a duplicate too.
        const QString longName = QString(40, u'长');
        f.db->execute(QStringLiteral("update fenlei_table set lei_mingcheng=? where lei_mingcheng=?"),
                      {longName, QStringLiteral("天气")});
        f.browser.byCategory->click();
        pick(f.browser.categoryList, other);
        f.browser.newNameEdit->setText(longName.left(32));
        f.browser.renameButton->click();
        QCOMPARE(f.prompter.messages.last(), QStringLiteral("新类别名称不能和现已存在名称相同。"));
        f.browser.newNameEdit->setText(QStringLiteral("占'卜"));
        f.prompter.answers = {app::Prompter::Answer::No};
        f.browser.renameButton->click();
        QCOMPARE(f.prompter.messages.last(), QStringLiteral("是否将已选") + other + QStringLiteral(" 更改为占'卜"));
        QCOMPARE(f.browser.categoryList->currentItem()->text(), other);
        f.prompter.answers = {app::Prompter::Answer::Yes};
        f.browser.renameButton->click();
        const qint64 id = browser::categoryIdOfItem(other);
        QCOMPARE(f.browser.categoryList->currentItem()->text(), QStringLiteral("(%1)占'卜").arg(id));
        QCOMPARE(f.db->getFirstString(QStringLiteral("select lei_mingcheng from fenlei_table where lei_id=?"), {id}),
                 QStringLiteral("占'卜"));
        QVERIFY(f.browser.newNameEdit->text().isEmpty());
    }
};

QTEST_MAIN(CaseBrowserTest)
#include "case_browser_test.moc"
