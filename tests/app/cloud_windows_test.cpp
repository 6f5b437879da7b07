// The login and password windows and the cloud side of the main window and the case browser,
// against the real case service started on 127.0.0.1.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/cloud_wiring.h"
#include "browser/case_browser.h"
#include "local_services.h"
#include "test_support/main_window_fixture.h"
#include "test_support/sample_cast.h"

namespace {

using Steps = std::function<void(cloud_view::LoginWindow&)>;

// One run of the program: the main window over its own database, wired to the service.
struct CloudRun {
    explicit CloudRun(const QUrl& service)
        : cloud(*f.db, *f.window, f.prompter, service, f.dir.filePath(QStringLiteral("qinglan"))) {}

    // Offers the login window and runs the steps while it is open; a window the steps leave
    // open is closed as by "不使用网络".
    bool offerLogin(const Steps& steps) {
        windowOpened = false;
        // Runs inside the window's own event loop; never once the offer is over.
        QTimer whileOpen;
        whileOpen.setSingleShot(true);
        QObject::connect(&whileOpen, &QTimer::timeout, [this, steps] {
            cloud_view::LoginWindow& w = cloud.loginWindow();
            windowOpened = w.isVisible();
            if (steps) steps(w);
            if (w.isVisible()) w.offlineButton->click();
        });
        whileOpen.start(0);
        return cloud.offerLogin();
    }

    bool logIn(const QString& name, const QString& password) {
        return offerLogin([&](cloud_view::LoginWindow& w) {
            w.nameEdit->setText(name);
            w.passwordEdit->setText(password);
            w.loginButton->click();
        });
    }

    // Registers through the library and logs in through the window.
    bool registerAndLogIn(const QString& name, const QString& password) {
        cloud.account().registerUser({name, password, password, QStringLiteral("13800000000"), QString()});
        return logIn(name, password);
    }

    MainWindowFixture f;
    app::CloudWiring cloud;
    bool windowOpened = false;
};

void pick(QListWidget* list, int row) {
    list->setCurrentRow(row);
    emit list->itemClicked(list->currentItem());
}

int rowOf(QListWidget* list, const QString& endsWith) {
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->text().endsWith(endsWith)) return i;
    return -1;
}

const QString kJudgment = QStringLiteral("财可得\n月底见分晓");
const QString kFeedback = QStringLiteral("应验\n\n十月入账");

}  // namespace

class CloudWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void registrationAndLoginThroughTheWindow() {
        cloud_test::ServiceProcess service({"--message", "你好", "--url", "https://qinglan.example.org/news"});
        CloudRun run(service.address());
        QVERIFY(!run.f.window->settingsButton->isEnabled());

        const bool loggedIn = run.offerLogin([&](cloud_view::LoginWindow& w) {
            QCOMPARE(w.width(), 260);
            QVERIFY(!w.registrationGroup->isVisible());
            QVERIFY(!w.downloadLabel->isVisible());
            QTest::mouseClick(w.registerLink, Qt::LeftButton);
            QCOMPARE(w.width(), 580);
            QVERIFY(w.registrationGroup->isVisible());
            w.newNameEdit->setText(QStringLiteral("张三"));
            w.newPasswordEdit->setText(QStringLiteral("密码 1"));
            w.repeatedEdit->setText(QStringLiteral("密码 2"));
            w.registerButton->click();
            w.repeatedEdit->setText(QStringLiteral("密码 1"));
            w.registerButton->click();
            w.emailEdit->setText(QStringLiteral("zs@example.org"));
            w.registerButton->click();
            QCOMPARE(run.f.prompter.messages,
                     (QStringList{QStringLiteral("密码两次输入的不同"), QStringLiteral("手机号或者电子邮箱号必须输入一个。"),
                                  QStringLiteral("注册成功。")}));
            QCOMPARE(w.nameEdit->text(), QStringLiteral("张三"));
            QCOMPARE(w.passwordEdit->text(), QStringLiteral("密码 1"));
            QVERIFY(w.repeatedEdit->text().isEmpty());
            QVERIFY(!w.registrationGroup->isVisible());
            QCOMPARE(w.width(), 260);

            // The same name again: two messages.
            run.f.prompter.messages.clear();
            QTest::mouseClick(w.registerLink, Qt::LeftButton);
            w.newPasswordEdit->setText(QStringLiteral("x"));
            w.repeatedEdit->setText(QStringLiteral("x"));
            w.registerButton->click();
            QCOMPARE(run.f.prompter.messages,
                     (QStringList{QStringLiteral("用户名已经存在。请换个用户名。"), QStringLiteral("出现错误，信息为：no")}));
            QVERIFY(w.registrationGroup->isVisible());
            run.f.prompter.messages.clear();

            // A fresh row 88 does not remember; ticking the box asks for it.
            QVERIFY(!w.rememberBox->isChecked());
            w.rememberBox->click();
            w.loginButton->click();
        });
        QVERIFY(run.windowOpened);
        QVERIFY(loggedIn);
        QVERIFY(run.f.prompter.messages.isEmpty());
        QVERIFY(run.f.window->settingsButton->isEnabled());
        // The login notice "%4F60%597D" is 你好.
        QCOMPARE(run.f.window->messageLabel->text(), QStringLiteral("你好"));
        QCOMPARE(run.f.window->messageLabel->property("url").toString(), QStringLiteral("https://qinglan.example.org/news"));

        // Offered once per run.
        QVERIFY(run.offerLogin({}));
        QVERIFY(!run.windowOpened);

        // Row 88: name and password while "记住用户名和密码" is ticked, the name alone once it is not.
        cloud_view::LoginWindow& w = run.cloud.loginWindow();
        w.nameEdit->clear();
        w.passwordEdit->clear();
        w.fillRemembered();
        QCOMPARE(w.nameEdit->text(), QStringLiteral("张三"));
        QCOMPARE(w.passwordEdit->text(), QStringLiteral("密码 1"));
        QVERIFY(w.rememberBox->isChecked());
        w.rememberBox->click();
        w.fillRemembered();
        QCOMPARE(w.nameEdit->text(), QStringLiteral("张三"));
        QVERIFY(w.passwordEdit->text().isEmpty());
        QVERIFY(!w.rememberBox->isChecked());
    }

    void newerVersionIsOfferedAndNothingChangesWithoutASignedUpdate() {
        cloud_test::ServiceProcess service({"--version", "4"});
        CloudRun run(service.address());
        run.f.prompter.answers = {app::Prompter::Answer::Yes};
        QVERIFY(run.registerAndLogIn(QStringLiteral("wang"), QStringLiteral("pw")));
        QCOMPARE(run.f.prompter.messages.size(), 2);
        QCOMPARE(run.f.prompter.messages[0], QStringLiteral("有新版本，是否升级？"));
        QVERIFY(run.f.prompter.messages[1].endsWith(QStringLiteral("程序未作任何改动。")));
        QVERIFY(!QFile::exists(run.f.dir.filePath(QStringLiteral("qinglan"))));
        QVERIFY(run.cloud.loggedIn());
    }

    void failedLoginsAndWorkingWithoutTheNetwork() {
        cloud_test::ServiceProcess service;
        CloudRun run(service.address());
        run.cloud.account().registerUser({QStringLiteral("li"), QStringLiteral("right"), QStringLiteral("right"),
                                          QStringLiteral("13800000000"), QString()});
        bool stayedOpen = false;
        const bool loggedIn = run.offerLogin([&](cloud_view::LoginWindow& w) {
            w.nameEdit->setText(QStringLiteral("li"));
            w.passwordEdit->clear();
            QTest::keyClick(w.passwordEdit, Qt::Key_Return);
            w.passwordEdit->setText(QStringLiteral("wrong"));
            QTest::keyClick(w.passwordEdit, Qt::Key_Return);
            stayedOpen = w.isVisible();
            w.offlineButton->click();
        });
        QVERIFY(!loggedIn);
        QVERIFY(stayedOpen);
        QCOMPARE(run.f.prompter.messages,
                 (QStringList{QStringLiteral("请输入密码。"), QStringLiteral("账号或密码错误，不能登陆。")}));
        QVERIFY(!run.f.window->settingsButton->isEnabled());
        QVERIFY(!run.offerLogin({}));
        QVERIFY(!run.windowOpened);

        // Every store and list is local for the run.
        app::MainWindow& window = *run.f.window;
        QVERIFY(window.caseStore().createCase(sampleCast(u"20240204111111京房式T:10:00:00", u"甲")).cloudMessage.isEmpty());
        QCOMPARE(window.history().entries(), QStringList{QStringLiteral("1(本地)")});
        window.show();
        window.recentButton->click();
        QCOMPARE(window.recentList->count(), 1);
        window.recentList->setCurrentRow(0);
        emit window.recentList->itemDoubleClicked(window.recentList->currentItem());
        QCOMPARE(window.history().entries().last(), QStringLiteral("1(本地)"));
        browser::CaseBrowser browser(window.caseLists(), run.f.prompter, [&](qint64 id) { return window.openLocalCase(id); });
        run.cloud.attachBrowser(browser);
        browser.prepareFirstShowing(run.cloud.loggedIn());
        QVERIFY(!browser.cloudSource->isEnabled());
        QVERIFY(browser.localSource->isChecked());
    }

    void passwordChangeThroughTheWindow() {
        cloud_test::ServiceProcess service;
        CloudRun run(service.address());
        QVERIFY(run.registerAndLogIn(QStringLiteral("zhao"), QStringLiteral("old")));
        run.f.window->settingsButton->click();
        cloud_view::PasswordWindow& w = run.cloud.passwordWindow();
        QVERIFY(w.isVisible());
        const auto change = [&](const char* oldText, const char* newText, const char* confirmation) {
            w.oldEdit->setText(QString::fromUtf8(oldText));
            w.newEdit->setText(QString::fromUtf8(newText));
            w.confirmationEdit->setText(QString::fromUtf8(confirmation));
            w.changeButton->click();
            return run.f.prompter.messages.last();
        };
        QCOMPARE(change("", "new", "new"), QStringLiteral("请输入原密码"));
        QCOMPARE(change("old", "new", "neu"), QStringLiteral("两次输入的新密码不同。"));
        QCOMPARE(change("wrong", "new", "new"), QStringLiteral("原密码不正确，无法修改。"));
        QVERIFY(w.isVisible());
        QCOMPARE(change("old", "new", "new"), QStringLiteral("密码修改成功"));
        QVERIFY(!w.isVisible());
        QVERIFY(w.oldEdit->text().isEmpty() && w.newEdit->text().isEmpty() && w.confirmationEdit->text().isEmpty());

        // This run keeps storing to the service; a later run needs the new password.
        QVERIFY(run.f.window->caseStore().createCase(sampleCast(u"20240204111111京房式T:10:00:00", u"甲")).cloudMessage.isEmpty());
        CloudRun later(service.address());
        QVERIFY(!later.logIn(QStringLiteral("zhao"), QStringLiteral("old")));
        QCOMPARE(later.f.prompter.messages, QStringList{QStringLiteral("账号或密码错误，不能登陆。")});
        CloudRun third(service.address());
        QVERIFY(third.logIn(QStringLiteral("zhao"), QStringLiteral("new")));
    }

    void castStoredInBothAndReopenedFromTheService() {
        cloud_test::ServiceProcess service;
        CloudRun run(service.address());
        QVERIFY(run.registerAndLogIn(QStringLiteral("sun"), QStringLiteral("pw")));
        app::MainWindow& window = *run.f.window;
        window.show();
        QVERIFY(window.caseStore().createCase(sampleCast(u"20240204111111京房式T:10:00:00", u"甲")).cloudMessage.isEmpty());
        window.judgmentEdit->setPlainText(kJudgment);
        window.feedbackEdit->setPlainText(kFeedback);
        window.saveAllButton->click();
        QCOMPARE(run.f.prompter.messages, QStringList{QStringLiteral("全部保存成功。")});
        QCOMPARE(window.caseLists().recentCases(50).size(), 1);

        // The recent list comes from the service; a pick opens the service's copy.
        window.clearCaseEditors();
        window.recentButton->click();
        QCOMPARE(window.recentList->count(), 1);
        const QString item = window.recentList->item(0)->text();
        QVERIFY2(item.endsWith(QStringLiteral(";20240204111111京房式T:10:00:00;甲;乾为天")), qPrintable(item));
        const QString cloudEntry = item.section(u';', 0, 0) + QStringLiteral("(网络)");
        window.recentList->setCurrentRow(0);
        emit window.recentList->itemDoubleClicked(window.recentList->currentItem());
        QCOMPARE(window.history().entries(), (QStringList{QStringLiteral("1(本地)"), cloudEntry}));
        QCOMPARE(window.judgmentEdit->toPlainText(), kJudgment);
        QCOMPARE(window.feedbackEdit->toPlainText(), kFeedback);
        QCOMPARE(window.caseNumberEdit->text(), QStringLiteral("20240204111111"));
        QCOMPARE(window.caseHeader(), QStringLiteral("性别:男 出生:1980 占事甲"));
        QVERIFY(!window.saveAllButton->isEnabled());

        // Stepping through the history loads each entry from its own store.
        window.clearCaseEditors();
        window.previousCaseButton->click();
        QCOMPARE(window.judgmentEdit->toPlainText(), kJudgment);
        window.clearCaseEditors();
        window.nextCaseButton->click();
        QCOMPARE(window.feedbackEdit->toPlainText(), kFeedback);
        QCOMPARE(window.history().entries().size(), 2);
        QCOMPARE(run.f.prompter.messages.size(), 1);
    }

    void browserDrillsDownTheServiceAndRenamesOnBothSides() {
        cloud_test::ServiceProcess service;
        CloudRun run(service.address());
        QVERIFY(run.registerAndLogIn(QStringLiteral("zhou"), QStringLiteral("pw")));
        app::MainWindow& window = *run.f.window;
        QVERIFY(window.caseStore().createCase(sampleCast(u"20240204111111京房式T:10:00:00", u"甲")).cloudMessage.isEmpty());
        QVERIFY(window.caseStore().saveCaseTexts(3, {kJudgment, kFeedback}).saved);
        window.clearCaseEditors();

        browser::CaseBrowser browser(window.caseLists(), run.f.prompter, [&](qint64 id) { return window.openLocalCase(id); });
        run.cloud.attachBrowser(browser);
        browser.prepareFirstShowing(run.cloud.loggedIn());
        QVERIFY(browser.cloudSource->isEnabled() && browser.cloudSource->isChecked());
        const int category = rowOf(browser.categoryList, QStringLiteral(")杂类"));
        QVERIFY(category >= 0);
        pick(browser.categoryList, category);
        QCOMPARE(browser.yearList->count(), 1);
        QCOMPARE(browser.yearList->item(0)->text(), QStringLiteral("2024"));
        pick(browser.yearList, 0);
        QCOMPARE(browser.monthList->count(), 1);
        QCOMPARE(browser.monthList->item(0)->text(), QStringLiteral("2"));
        pick(browser.monthList, 0);
        QCOMPARE(browser.caseList->count(), 1);
        QVERIFY(browser.caseList->item(0)->text().endsWith(QStringLiteral(";20240204111111京房式T:10:00:00;甲;乾为天")));
        pick(browser.caseList, 0);
        QCOMPARE(browser.textsView->toPlainText(), kJudgment + QStringLiteral("\n***反馈***\n") + kFeedback);

        // Another category has no years in the service.
        const int other = category == 0 ? 1 : 0;
        pick(browser.categoryList, other);
        QCOMPARE(run.f.prompter.messages, QStringList{QStringLiteral("网络上没有年数据。")});
        browser.keywordEdit->setText(QStringLiteral("不存在"));
        browser.searchButton->click();
        QCOMPARE(run.f.prompter.messages.last(), QStringLiteral("网络上没有搜索到结果。"));
        browser.keywordEdit->setText(QStringLiteral("十月入账"));
        browser.searchButton->click();
        QCOMPARE(browser.caseList->count(), 1);
        browser.caseList->setCurrentRow(0);
        const QString cloudEntry = browser.caseList->item(0)->text().section(u';', 0, 0) + QStringLiteral("(网络)");
        browser.openButton->click();
        QCOMPARE(browser.result(), int(QDialog::Accepted));
        QCOMPARE(window.history().entries().last(), cloudEntry);
        QCOMPARE(window.judgmentEdit->toPlainText(), kJudgment);

        // Rename: the local table and the service, whose name a later login copies back.
        pick(browser.categoryList, category);
        const qint64 leiId = browser::categoryIdOfItem(browser.categoryList->currentItem()->text());
        browser.newNameEdit->setText(QStringLiteral("  生意往来  "));
        run.f.prompter.answers = {app::Prompter::Answer::Yes};
        run.f.prompter.messages.clear();
        browser.renameButton->click();
        QCOMPARE(run.f.prompter.messages.size(), 1);  // the question only
        QCOMPARE(browser.categoryList->currentItem()->text(), QStringLiteral("(%1)生意往来").arg(leiId));
        bool renamedHere = false;
        for (const store::Category& c : window.caseLists().categories())
            if (c.lei_id == leiId) renamedHere = c.lei_mingcheng == QStringLiteral("生意往来");
        QVERIFY(renamedHere);

        CloudRun later(service.address());
        QVERIFY(later.logIn(QStringLiteral("zhou"), QStringLiteral("pw")));
        bool copiedThere = false;
        for (const store::Category& c : later.f.window->caseLists().categories())
            if (c.lei_id == leiId) copiedThere = c.lei_mingcheng == QStringLiteral("生意往来");
        QVERIFY(copiedThere);

        // By time: the service's years of all categories.
        browser.byTime->click();
        QCOMPARE(browser.categoryList->count(), 0);
        QCOMPARE(browser.yearList->count(), 1);
    }

    void programStaysUsableWhenTheServiceStops() {
        cloud_test::ServiceProcess service;
        CloudRun run(service.address());
        QVERIFY(run.registerAndLogIn(QStringLiteral("wu"), QStringLiteral("pw")));
        app::MainWindow& window = *run.f.window;
        window.show();
        QVERIFY(window.caseStore().createCase(sampleCast(u"20240204111111京房式T:10:00:00", u"甲")).cloudMessage.isEmpty());
        window.recentButton->click();
        window.recentList->setCurrentRow(0);
        emit window.recentList->itemDoubleClicked(window.recentList->currentItem());
        QCOMPARE(window.history().entries().size(), 2);
        service.stop();
        ScriptedPrompter& prompter = run.f.prompter;
        prompter.messages.clear();

        window.recentButton->click();
        QCOMPARE(prompter.messages, QStringList{QStringLiteral("网络错误，请重试。")});
        QVERIFY(!window.recentList->isVisible());

        // A new cast is still stored here.
        const store::CreateResult created = window.caseStore().createCase(sampleCast(u"20240205222222京房式T:11:00:00", u"乙"));
        QVERIFY(created.stored);
        QCOMPARE(created.cloudMessage, QStringLiteral("网络保存失败，请重试，错误信息：neterror"));
        QCOMPARE(window.caseLists().recentCases(50).size(), 2);

        // Texts: the failure is reported, the local row is written.
        prompter.messages.clear();
        window.judgmentEdit->setPlainText(kJudgment);
        window.saveJudgmentButton->click();
        QVERIFY(prompter.messages.contains(QStringLiteral("网络保存失败，错误信息：neterror")));
        const auto texts = window.caseLists().caseTexts(2);
        QVERIFY(texts.has_value());
        QCOMPARE(texts->duanyu, kJudgment);

        // A cloud history entry cannot load; a local one can.
        prompter.messages.clear();
        window.previousCaseButton->click();
        QCOMPARE(prompter.messages, QStringList{QStringLiteral("网络错误，请重试。")});
        window.previousCaseButton->click();
        QCOMPARE(window.caseNumberEdit->text(), QStringLiteral("20240204111111"));

        browser::CaseBrowser browser(window.caseLists(), prompter, [&](qint64 id) { return window.openLocalCase(id); });
        run.cloud.attachBrowser(browser);
        browser.prepareFirstShowing(true);
        prompter.messages.clear();
        pick(browser.categoryList, rowOf(browser.categoryList, QStringLiteral(")杂类")));
        QCOMPARE(prompter.messages, QStringList{QStringLiteral("网络错误，请重试。")});
        browser.newNameEdit->setText(QStringLiteral("生意往来"));
        prompter.answers = {app::Prompter::Answer::Yes};
        browser.renameButton->click();
        QCOMPARE(prompter.messages.last(), QStringLiteral("网络保存出错：neterror"));
        QVERIFY(browser.categoryList->currentItem()->text().endsWith(QStringLiteral(")生意往来")));
        // The local source still lists everything.
        browser.localSource->click();
        pick(browser.categoryList, rowOf(browser.categoryList, QStringLiteral(")生意往来")));
        QCOMPARE(browser.yearList->count(), 1);

        window.settingsButton->click();
        cloud_view::PasswordWindow& password = run.cloud.passwordWindow();
        password.oldEdit->setText(QStringLiteral("pw"));
        password.newEdit->setText(QStringLiteral("pw2"));
        password.confirmationEdit->setText(QStringLiteral("pw2"));
        password.changeButton->click();
        QCOMPARE(prompter.messages.last(), QStringLiteral("网络保存出错：neterror"));
        QVERIFY(password.isVisible());
    }
};

QTEST_MAIN(CloudWindowsTest)
#include "cloud_windows_test.moc"
