// The login and password windows and the cloud side of the main window and the case browser,
// against the real case service started on 127.0.0.1.
#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <functional>

#include "app/cloud_wiring.h"
#include "cloud/device_list.h"
#include "account/password_digest.h"
#include "desktop_client.h"
#include "local_services.h"
#include "store/settings.h"
#include "test_support/program_fixture.h"
#include "test_support/sample_cast.h"
#include "ui/browser/object_names.h"
#include "ui/cloud/object_names.h"
#include "ui/main/object_names.h"

namespace {

namespace casebrowser = objectnames::casebrowser;
namespace loginwindow = objectnames::loginwindow;
namespace mainwindow = objectnames::mainwindow;
namespace passwordwindow = objectnames::passwordwindow;

using Steps = std::function<void(ui::LoginWindow&)>;

// One run of the program: the main window over its own database, wired to the service.
struct CloudRun {
    explicit CloudRun(const QUrl& service)
        : f(QDateTime(QDate(2024, 2, 4), QTime(16, 24)), service), service_(service) {}

    app::CloudWiring& cloud() { return f.program->cloud; }
    // The program closed and started again over the same database file and service.
    void restart() { f.restart(service_); }

    // Offers the login window and runs the steps while it is open; a window the steps leave
    // open is closed as by "不使用网络".
    bool offerLogin(const Steps& steps) {
        windowOpened = false;
        // Runs inside the window's own event loop; never once the offer is over.
        QTimer whileOpen;
        whileOpen.setSingleShot(true);
        QObject::connect(&whileOpen, &QTimer::timeout, [this, steps] {
            ui::LoginWindow& w = cloud().loginWindow();
            windowOpened = w.isVisible();
            if (steps) steps(w);
            if (w.isVisible()) control<QPushButton>(w, loginwindow::offlineButton)->click();
        });
        whileOpen.start(0);
        return cloud().offerLogin();
    }

    bool logIn(const QString& name, const QString& password) {
        return offerLogin([&](ui::LoginWindow& w) {
            control<QLineEdit>(w, loginwindow::nameEdit)->setText(name);
            control<QLineEdit>(w, loginwindow::passwordEdit)->setText(password);
            control<QPushButton>(w, loginwindow::loginButton)->click();
            settle();
        });
    }

    // Waits until the service has answered every request under way.
    void settle() { cloud_test::settle(cloud().exchange()); }

    // Registers through the library.
    void registerUser(const QString& name, const QString& password) {
        cloud_test::awaited<cloud::RegistrationOutcome>(cloud().exchange(), [&](auto done) {
            cloud().account().registerUser({name, password, password, QStringLiteral("13800000000"), QString()}, done);
        });
    }

    // Registers through the library and logs in through the window.
    bool registerAndLogIn(const QString& name, const QString& password) {
        registerUser(name, password);
        return logIn(name, password);
    }

    // A cast stored as a finished cast is: here and, logged in, in the service; true when it
    // was stored and nothing was reported.
    bool storeCast(const store::CastCase& cast) {
        const qsizetype before = f.prompter.messages.size();
        const bool stored = f.bench().storeCast(cast);
        settle();
        return stored && f.prompter.messages.size() == before;
    }

    ProgramFixture f;
    bool windowOpened = false;

private:
    QUrl service_;
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

// What the empty password box shows while a password is remembered for the name.
const QString kRememberedHint = QStringLiteral("（已记住密码）");

const QString kJudgment = QStringLiteral("财可得\n月底见分晓");
const QString kFeedback = QStringLiteral("应验\n\n十月入账");

}  // namespace

class CloudWindowsTest : public QObject {
    Q_OBJECT
    // The remembered logins' token files go here, not to the data folder of whoever runs the tests.
    QTemporaryDir dataHome_;

private slots:
    void initTestCase() { qputenv("XDG_DATA_HOME", dataHome_.path().toUtf8()); }

    void devicesAreListedAndRemovedFromThePasswordWindow() {
        cloud_test::ServiceProcess service;
        CloudRun run(service.address());
        run.registerUser(QStringLiteral("钱八"), QStringLiteral("pw"));
        QVERIFY(run.offerLogin([&](ui::LoginWindow& w) {
            control<QLineEdit>(w, loginwindow::nameEdit)->setText(QStringLiteral("钱八"));
            control<QLineEdit>(w, loginwindow::passwordEdit)->setText(QStringLiteral("pw"));
            control<QCheckBox>(w, loginwindow::rememberBox)->click();
            control<QPushButton>(w, loginwindow::loginButton)->click();
            run.settle();
        }));
        // A second device, remembered elsewhere.
        cloud_test::DesktopClient elsewhere(service.address());
        const auto added = cloud_test::awaited<cloud::ExchangeResult>(elsewhere.exchange, [&](auto done) {
            elsewhere.session.postPlain(QStringLiteral("token.php"),
                                        {QStringLiteral("nm=钱八"), QStringLiteral("shebei=另一台电脑"),
                                         QStringLiteral("pw=") + account::passwordDigest(QStringLiteral("pw"))},
                                        done);
        });
        QVERIFY(added.replyText().startsWith(QStringLiteral("ok<t>")));

        control<QPushButton>(*run.f.window, mainwindow::settingsButton)->click();
        ui::PasswordWindow& w = run.cloud().passwordWindow();
        run.settle();
        auto* list = control<QTreeWidget>(w, passwordwindow::deviceList);
        auto* remove = control<QPushButton>(w, passwordwindow::removeDeviceButton);
        QCOMPARE(list->topLevelItemCount(), 2);
        QCOMPARE(list->topLevelItem(0)->text(0), cloud::thisDeviceName());
        QCOMPARE(list->topLevelItem(1)->text(0), QStringLiteral("另一台电脑"));

        // The keyboard: down to the other device, Delete.
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Home);
        QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Delete);
        run.settle();
        QCOMPARE(list->topLevelItemCount(), 1);
        QCOMPARE(list->topLevelItem(0)->text(0), cloud::thisDeviceName());

        // The mouse: this device's row, then the button.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(0)).center());
        QVERIFY(remove->isEnabled());
        QTest::mouseClick(remove, Qt::LeftButton);
        run.settle();
        QCOMPARE(list->topLevelItemCount(), 0);
        QVERIFY(!remove->isEnabled());
        QVERIFY(run.f.prompter.messages.isEmpty());

        // The next run's remembered login is refused and forgotten.
        run.restart();
        QVERIFY(!run.offerLogin([&](ui::LoginWindow& login) {
            control<QPushButton>(login, loginwindow::loginButton)->click();
            run.settle();
        }));
        QCOMPARE(run.f.prompter.messages, QStringList{QStringLiteral("本机记住的登录已失效，请输入密码。")});
    }

    void registrationAndLoginThroughTheWindow() {
        cloud_test::ServiceProcess service({"--message", "你好", "--url", "https://qinglan.example.org/news"});
        CloudRun run(service.address());
        QVERIFY(!control<QPushButton>(*run.f.window, mainwindow::settingsButton)->isEnabled());

        const bool loggedIn = run.offerLogin([&](ui::LoginWindow& w) {
            QCOMPARE(w.width(), 260);
            QVERIFY(!control<QGroupBox>(w, loginwindow::registrationGroup)->isVisible());
            QVERIFY(!control<QLabel>(w, loginwindow::downloadLabel)->isVisible());
            QTest::mouseClick(control<QLabel>(w, loginwindow::registerLink), Qt::LeftButton);
            QCOMPARE(w.width(), 580);
            QVERIFY(control<QGroupBox>(w, loginwindow::registrationGroup)->isVisible());
            control<QLineEdit>(w, loginwindow::newNameEdit)->setText(QStringLiteral("张三"));
            control<QLineEdit>(w, loginwindow::newPasswordEdit)->setText(QStringLiteral("密码 1"));
            control<QLineEdit>(w, loginwindow::repeatedEdit)->setText(QStringLiteral("密码 2"));
            control<QPushButton>(w, loginwindow::registerButton)->click();
            run.settle();
            control<QLineEdit>(w, loginwindow::repeatedEdit)->setText(QStringLiteral("密码 1"));
            control<QPushButton>(w, loginwindow::registerButton)->click();
            run.settle();
            control<QLineEdit>(w, loginwindow::emailEdit)->setText(QStringLiteral("zs@example.org"));
            control<QPushButton>(w, loginwindow::registerButton)->click();
            run.settle();
            QCOMPARE(run.f.prompter.messages,
                     (QStringList{QStringLiteral("密码两次输入的不同"),
                                  QStringLiteral("手机号或者电子邮箱号必须输入一个。"), QStringLiteral("注册成功。")}));
            QCOMPARE(control<QLineEdit>(w, loginwindow::nameEdit)->text(), QStringLiteral("张三"));
            QCOMPARE(control<QLineEdit>(w, loginwindow::passwordEdit)->text(), QStringLiteral("密码 1"));
            QVERIFY(control<QLineEdit>(w, loginwindow::repeatedEdit)->text().isEmpty());
            QVERIFY(!control<QGroupBox>(w, loginwindow::registrationGroup)->isVisible());
            QCOMPARE(w.width(), 260);

            // The same name again: two messages.
            run.f.prompter.messages.clear();
            QTest::mouseClick(control<QLabel>(w, loginwindow::registerLink), Qt::LeftButton);
            control<QLineEdit>(w, loginwindow::newPasswordEdit)->setText(QStringLiteral("x"));
            control<QLineEdit>(w, loginwindow::repeatedEdit)->setText(QStringLiteral("x"));
            control<QPushButton>(w, loginwindow::registerButton)->click();
            run.settle();
            QCOMPARE(run.f.prompter.messages, (QStringList{QStringLiteral("用户名已经存在。请换个用户名。"),
                                                           QStringLiteral("出现错误，信息为：no")}));
            QVERIFY(control<QGroupBox>(w, loginwindow::registrationGroup)->isVisible());
            run.f.prompter.messages.clear();

            // A fresh row 88 does not remember; ticking the box asks for it.
            QVERIFY(!control<QCheckBox>(w, loginwindow::rememberBox)->isChecked());
            control<QCheckBox>(w, loginwindow::rememberBox)->click();
            control<QPushButton>(w, loginwindow::loginButton)->click();
            run.settle();
        });
        QVERIFY(run.windowOpened);
        QVERIFY(loggedIn);
        QVERIFY(run.f.prompter.messages.isEmpty());
        QVERIFY(control<QPushButton>(*run.f.window, mainwindow::settingsButton)->isEnabled());
        // The login notice "%4F60%597D" is 你好.
        QCOMPARE(control<QLabel>(*run.f.window, mainwindow::messageLabel)->text(), QStringLiteral("你好"));
        QCOMPARE(control<QLabel>(*run.f.window, mainwindow::messageLabel)->property("url").toString(),
                 QStringLiteral("https://qinglan.example.org/news"));

        // Offered once per run.
        QVERIFY(run.offerLogin({}));
        QVERIFY(!run.windowOpened);

        // Row 88: the name and a remembered password while "记住用户名和密码" is ticked, the
        // name alone once it is not. The password box never holds the remembered password.
        ui::LoginWindow& w = run.cloud().loginWindow();
        control<QLineEdit>(w, loginwindow::nameEdit)->clear();
        w.fillRemembered();
        QCOMPARE(control<QLineEdit>(w, loginwindow::nameEdit)->text(), QStringLiteral("张三"));
        QVERIFY(control<QLineEdit>(w, loginwindow::passwordEdit)->text().isEmpty());
        QCOMPARE(control<QLineEdit>(w, loginwindow::passwordEdit)->placeholderText(), kRememberedHint);
        QVERIFY(control<QCheckBox>(w, loginwindow::rememberBox)->isChecked());
        control<QCheckBox>(w, loginwindow::rememberBox)->click();
        QVERIFY(control<QLineEdit>(w, loginwindow::passwordEdit)->placeholderText().isEmpty());
        w.fillRemembered();
        QCOMPARE(control<QLineEdit>(w, loginwindow::nameEdit)->text(), QStringLiteral("张三"));
        QVERIFY(control<QLineEdit>(w, loginwindow::passwordEdit)->text().isEmpty());
        QVERIFY(control<QLineEdit>(w, loginwindow::passwordEdit)->placeholderText().isEmpty());
        QVERIFY(!control<QCheckBox>(w, loginwindow::rememberBox)->isChecked());
    }

    void rememberedPasswordLogsInWithoutBeingShown() {
        cloud_test::ServiceProcess service;
        CloudRun run(service.address());
        run.registerUser(QStringLiteral("孙七"), QStringLiteral("秘密 7"));
        QVERIFY(run.offerLogin([&](ui::LoginWindow& w) {
            control<QLineEdit>(w, loginwindow::nameEdit)->setText(QStringLiteral("孙七"));
            control<QLineEdit>(w, loginwindow::passwordEdit)->setText(QStringLiteral("秘密 7"));
            control<QCheckBox>(w, loginwindow::rememberBox)->click();
            control<QPushButton>(w, loginwindow::loginButton)->click();
            run.settle();
        }));

        // The next run: the box says a password is remembered, for that name only, and Enter in
        // the empty box logs in with it.
        run.restart();
        QString hintForOtherName = QStringLiteral("unset");
        QVERIFY(run.offerLogin([&](ui::LoginWindow& w) {
            auto* name = control<QLineEdit>(w, loginwindow::nameEdit);
            auto* password = control<QLineEdit>(w, loginwindow::passwordEdit);
            QCOMPARE(name->text(), QStringLiteral("孙七"));
            QVERIFY(password->text().isEmpty());
            QCOMPARE(password->placeholderText(), kRememberedHint);
            QCOMPARE(password->accessibleDescription(), kRememberedHint);
            name->setText(QStringLiteral("孙"));
            hintForOtherName = password->placeholderText();
            name->setText(QStringLiteral("孙七"));
            QTest::keyClick(password, Qt::Key_Return);
            run.settle();
        }));
        QVERIFY(hintForOtherName.isEmpty());
        QVERIFY(run.f.prompter.messages.isEmpty());
        QVERIFY(!store::Settings(*run.f.db).get(store::setting::loginPassword).contains(QStringLiteral("秘密")));

        // The password changed elsewhere, which ends every device: the remembered login is
        // refused, forgotten, and the box asks for the password again.
        cloud_test::DesktopClient elsewhere(service.address());
        QVERIFY(elsewhere.logIn(QStringLiteral("孙七"), QStringLiteral("秘密 7"), false));
        QVERIFY(
            elsewhere.account.changePassword({QStringLiteral("秘密 7"), QStringLiteral("新 8"), QStringLiteral("新 8")})
                .changed);
        run.restart();
        QString hintAfterRefusal = QStringLiteral("unset");
        QVERIFY(!run.offerLogin([&](ui::LoginWindow& w) {
            control<QPushButton>(w, loginwindow::loginButton)->click();
            run.settle();
            hintAfterRefusal = control<QLineEdit>(w, loginwindow::passwordEdit)->placeholderText();
        }));
        QCOMPARE(run.f.prompter.messages, QStringList{QStringLiteral("本机记住的登录已失效，请输入密码。")});
        QVERIFY(hintAfterRefusal.isEmpty());
        QVERIFY(store::Settings(*run.f.db).get(store::setting::loginPassword).isEmpty());
    }

    void newerVersionIsOfferedAndNothingChangesWithoutASignedUpdate() {
        cloud_test::ServiceProcess service({"--offer-version", "4"});
        CloudRun run(service.address());
        run.f.prompter.answers = {workbench::Prompter::Answer::Yes};
        QVERIFY(run.registerAndLogIn(QStringLiteral("wang"), QStringLiteral("pw")));
        QCOMPARE(run.f.prompter.messages.size(), 2);
        QCOMPARE(run.f.prompter.messages[0], QStringLiteral("有新版本，是否升级？"));
        QVERIFY(run.f.prompter.messages[1].endsWith(QStringLiteral("程序未作任何改动。")));
        QVERIFY(!QFile::exists(run.f.dir.filePath(QStringLiteral("qinglan"))));
        QVERIFY(run.cloud().loggedIn());
    }

    void failedLoginsAndWorkingWithoutTheNetwork() {
        cloud_test::ServiceProcess service;
        CloudRun run(service.address());
        run.registerUser(QStringLiteral("li"), QStringLiteral("right"));
        bool stayedOpen = false;
        const bool loggedIn = run.offerLogin([&](ui::LoginWindow& w) {
            control<QLineEdit>(w, loginwindow::nameEdit)->setText(QStringLiteral("li"));
            control<QLineEdit>(w, loginwindow::passwordEdit)->clear();
            QTest::keyClick(control<QLineEdit>(w, loginwindow::passwordEdit), Qt::Key_Return);
            run.settle();
            control<QLineEdit>(w, loginwindow::passwordEdit)->setText(QStringLiteral("wrong"));
            QTest::keyClick(control<QLineEdit>(w, loginwindow::passwordEdit), Qt::Key_Return);
            run.settle();
            stayedOpen = w.isVisible();
            control<QPushButton>(w, loginwindow::offlineButton)->click();
        });
        QVERIFY(!loggedIn);
        QVERIFY(stayedOpen);
        QCOMPARE(run.f.prompter.messages,
                 (QStringList{QStringLiteral("请输入密码。"), QStringLiteral("账号或密码错误，不能登陆。")}));
        QVERIFY(!control<QPushButton>(*run.f.window, mainwindow::settingsButton)->isEnabled());
        QVERIFY(!run.offerLogin({}));
        QVERIFY(!run.windowOpened);

        // Every store and list is local for the run.
        ui::MainWindow& window = *run.f.window;
        QVERIFY(run.storeCast(sampleCast(u"20240204111111京房式T:10:00:00", u"甲")));
        QCOMPARE(run.f.bench().history().entries(), QStringList{QStringLiteral("1(本地)")});
        window.show();
        control<QPushButton>(window, mainwindow::recentButton)->click();
        run.settle();
        QCOMPARE(control<QListWidget>(window, mainwindow::recentList)->count(), 1);
        control<QListWidget>(window, mainwindow::recentList)->setCurrentRow(0);
        emit control<QListWidget>(window, mainwindow::recentList)
            ->itemDoubleClicked(control<QListWidget>(window, mainwindow::recentList)->currentItem());
        run.settle();
        QCOMPARE(run.f.bench().history().entries().last(), QStringLiteral("1(本地)"));
        ui::CaseBrowser& browser = run.f.program->caseBrowser;
        browser.prepareFirstShowing();
        QVERIFY(!control<QRadioButton>(browser, casebrowser::cloudSource)->isEnabled());
        QVERIFY(control<QRadioButton>(browser, casebrowser::localSource)->isChecked());
    }

    void passwordChangeThroughTheWindow() {
        cloud_test::ServiceProcess service;
        CloudRun run(service.address());
        QVERIFY(run.registerAndLogIn(QStringLiteral("zhao"), QStringLiteral("old")));
        control<QPushButton>(*run.f.window, mainwindow::settingsButton)->click();
        ui::PasswordWindow& w = run.cloud().passwordWindow();
        QVERIFY(w.isVisible());
        const auto change = [&](const char* oldText, const char* newText, const char* confirmation) {
            control<QLineEdit>(w, passwordwindow::oldEdit)->setText(QString::fromUtf8(oldText));
            control<QLineEdit>(w, passwordwindow::newEdit)->setText(QString::fromUtf8(newText));
            control<QLineEdit>(w, passwordwindow::confirmationEdit)->setText(QString::fromUtf8(confirmation));
            control<QPushButton>(w, passwordwindow::changeButton)->click();
            run.settle();
            return run.f.prompter.messages.last();
        };
        QCOMPARE(change("", "new", "new"), QStringLiteral("请输入原密码"));
        QCOMPARE(change("old", "new", "neu"), QStringLiteral("两次输入的新密码不同。"));
        QCOMPARE(change("wrong", "new", "new"), QStringLiteral("原密码不正确，无法修改。"));
        QVERIFY(w.isVisible());
        QCOMPARE(change("old", "new", "new"), QStringLiteral("密码修改成功"));
        QVERIFY(!w.isVisible());
        QVERIFY(control<QLineEdit>(w, passwordwindow::oldEdit)->text().isEmpty() &&
                control<QLineEdit>(w, passwordwindow::newEdit)->text().isEmpty() &&
                control<QLineEdit>(w, passwordwindow::confirmationEdit)->text().isEmpty());

        // This run keeps storing to the service; a later run needs the new password.
        QVERIFY(run.storeCast(sampleCast(u"20240204111111京房式T:10:00:00", u"甲")));
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
        ui::MainWindow& window = *run.f.window;
        window.show();
        QVERIFY(run.f.bench().storeCast(sampleCast(u"20240204111111京房式T:10:00:00", u"甲")));
        run.settle();
        control<QPlainTextEdit>(window, mainwindow::judgmentEdit)->setPlainText(kJudgment);
        control<QPlainTextEdit>(window, mainwindow::feedbackEdit)->setPlainText(kFeedback);
        control<QPushButton>(window, mainwindow::saveAllButton)->click();
        run.settle();
        QCOMPARE(run.f.prompter.messages, QStringList{QStringLiteral("全部保存成功。")});
        QCOMPARE(run.f.bench().caseLists().recentCases(50).size(), 1);

        // The recent list comes from the service; a pick opens the service's copy.
        run.f.bench().clearCaseTexts();
        control<QPushButton>(window, mainwindow::recentButton)->click();
        run.settle();
        QCOMPARE(control<QListWidget>(window, mainwindow::recentList)->count(), 1);
        const QString item = control<QListWidget>(window, mainwindow::recentList)->item(0)->text();
        QVERIFY2(item.endsWith(QStringLiteral(";20240204111111京房式T:10:00:00;甲;乾为天")), qPrintable(item));
        const QString cloudEntry = item.section(u';', 0, 0) + QStringLiteral("(网络)");
        control<QListWidget>(window, mainwindow::recentList)->setCurrentRow(0);
        emit control<QListWidget>(window, mainwindow::recentList)
            ->itemDoubleClicked(control<QListWidget>(window, mainwindow::recentList)->currentItem());
        run.settle();
        QCOMPARE(run.f.bench().history().entries(), (QStringList{QStringLiteral("1(本地)"), cloudEntry}));
        QCOMPARE(control<QPlainTextEdit>(window, mainwindow::judgmentEdit)->toPlainText(), kJudgment);
        QCOMPARE(control<QPlainTextEdit>(window, mainwindow::feedbackEdit)->toPlainText(), kFeedback);
        QCOMPARE(control<QLineEdit>(window, mainwindow::caseNumberEdit)->text(), QStringLiteral("20240204111111"));
        QCOMPARE(run.f.bench().caseHeader(), QStringLiteral("性别:男 出生:1980 占事甲"));
        QVERIFY(!control<QPushButton>(window, mainwindow::saveAllButton)->isEnabled());

        // Stepping through the history loads each entry from its own store.
        run.f.bench().clearCaseTexts();
        control<QPushButton>(window, mainwindow::previousCaseButton)->click();
        run.settle();
        QCOMPARE(control<QPlainTextEdit>(window, mainwindow::judgmentEdit)->toPlainText(), kJudgment);
        run.f.bench().clearCaseTexts();
        control<QPushButton>(window, mainwindow::nextCaseButton)->click();
        run.settle();
        QCOMPARE(control<QPlainTextEdit>(window, mainwindow::feedbackEdit)->toPlainText(), kFeedback);
        QCOMPARE(run.f.bench().history().entries().size(), 2);
        QCOMPARE(run.f.prompter.messages.size(), 1);
    }

    void browserDrillsDownTheServiceAndRenamesOnBothSides() {
        cloud_test::ServiceProcess service;
        CloudRun run(service.address());
        QVERIFY(run.registerAndLogIn(QStringLiteral("zhou"), QStringLiteral("pw")));
        ui::MainWindow& window = *run.f.window;
        QVERIFY(run.storeCast(sampleCast(u"20240204111111京房式T:10:00:00", u"甲")));
        run.f.bench().editJudgment(kJudgment);
        run.f.bench().editFeedback(kFeedback);
        run.f.bench().saveTexts(store::TextsToSave::Both);
        run.settle();
        QCOMPARE(run.f.prompter.messages, QStringList{QStringLiteral("全部保存成功。")});
        run.f.prompter.messages.clear();
        run.f.bench().clearCaseTexts();

        ui::CaseBrowser& browser = run.f.program->caseBrowser;
        browser.prepareFirstShowing();
        QVERIFY(control<QRadioButton>(browser, casebrowser::cloudSource)->isEnabled() &&
                control<QRadioButton>(browser, casebrowser::cloudSource)->isChecked());
        const int category = rowOf(control<QListWidget>(browser, casebrowser::categoryList), QStringLiteral(")杂类"));
        QVERIFY(category >= 0);
        pick(control<QListWidget>(browser, casebrowser::categoryList), category);
        run.settle();
        QCOMPARE(control<QListWidget>(browser, casebrowser::yearList)->count(), 1);
        QCOMPARE(control<QListWidget>(browser, casebrowser::yearList)->item(0)->text(), QStringLiteral("2024"));
        pick(control<QListWidget>(browser, casebrowser::yearList), 0);
        run.settle();
        QCOMPARE(control<QListWidget>(browser, casebrowser::monthList)->count(), 1);
        QCOMPARE(control<QListWidget>(browser, casebrowser::monthList)->item(0)->text(), QStringLiteral("2"));
        pick(control<QListWidget>(browser, casebrowser::monthList), 0);
        run.settle();
        QCOMPARE(control<QListWidget>(browser, casebrowser::caseList)->count(), 1);
        QVERIFY(control<QListWidget>(browser, casebrowser::caseList)
                    ->item(0)
                    ->text()
                    .endsWith(QStringLiteral(";20240204111111京房式T:10:00:00;甲;乾为天")));
        pick(control<QListWidget>(browser, casebrowser::caseList), 0);
        run.settle();
        QCOMPARE(control<QPlainTextEdit>(browser, casebrowser::textsView)->toPlainText(),
                 kJudgment + QStringLiteral("\n***反馈***\n") + kFeedback);

        // Another category has no years in the service.
        const int other = category == 0 ? 1 : 0;
        pick(control<QListWidget>(browser, casebrowser::categoryList), other);
        run.settle();
        QCOMPARE(run.f.prompter.messages, QStringList{QStringLiteral("网络上没有年数据。")});
        control<QLineEdit>(browser, casebrowser::keywordEdit)->setText(QStringLiteral("不存在"));
        control<QPushButton>(browser, casebrowser::searchButton)->click();
        run.settle();
        QCOMPARE(run.f.prompter.messages.last(), QStringLiteral("网络上没有搜索到结果。"));
        control<QLineEdit>(browser, casebrowser::keywordEdit)->setText(QStringLiteral("十月入账"));
        control<QPushButton>(browser, casebrowser::searchButton)->click();
        run.settle();
        QCOMPARE(control<QListWidget>(browser, casebrowser::caseList)->count(), 1);
        control<QListWidget>(browser, casebrowser::caseList)->setCurrentRow(0);
        const QString cloudEntry =
            control<QListWidget>(browser, casebrowser::caseList)->item(0)->text().section(u';', 0, 0) +
            QStringLiteral("(网络)");
        control<QPushButton>(browser, casebrowser::openButton)->click();
        run.settle();
        QCOMPARE(browser.result(), int(QDialog::Accepted));
        QCOMPARE(run.f.bench().history().entries().last(), cloudEntry);
        QCOMPARE(control<QPlainTextEdit>(window, mainwindow::judgmentEdit)->toPlainText(), kJudgment);

        // Rename: the local table and the service, whose name a later login copies back.
        pick(control<QListWidget>(browser, casebrowser::categoryList), category);
        run.settle();
        const qint64 categoryId =
            ui::categoryIdOfItem(control<QListWidget>(browser, casebrowser::categoryList)->currentItem()->text());
        control<QLineEdit>(browser, casebrowser::newNameEdit)->setText(QStringLiteral("  生意往来  "));
        run.f.prompter.answers = {workbench::Prompter::Answer::Yes};
        run.f.prompter.messages.clear();
        control<QPushButton>(browser, casebrowser::renameButton)->click();
        run.settle();
        QCOMPARE(run.f.prompter.messages.size(), 1);  // the question only
        QCOMPARE(control<QListWidget>(browser, casebrowser::categoryList)->currentItem()->text(),
                 QStringLiteral("(%1)生意往来").arg(categoryId));
        bool renamedHere = false;
        for (const store::Category& c : run.f.bench().caseLists().categories())
            if (c.categoryId == categoryId) renamedHere = c.categoryName == QStringLiteral("生意往来");
        QVERIFY(renamedHere);

        CloudRun later(service.address());
        QVERIFY(later.logIn(QStringLiteral("zhou"), QStringLiteral("pw")));
        bool copiedThere = false;
        for (const store::Category& c : later.f.bench().caseLists().categories())
            if (c.categoryId == categoryId) copiedThere = c.categoryName == QStringLiteral("生意往来");
        QVERIFY(copiedThere);

        // By time: the service's years of all categories.
        control<QRadioButton>(browser, casebrowser::byTime)->click();
        run.settle();
        QCOMPARE(control<QListWidget>(browser, casebrowser::categoryList)->count(), 0);
        QCOMPARE(control<QListWidget>(browser, casebrowser::yearList)->count(), 1);
    }

    void escCancelsASaveAndWhatWasTypedStaysUnsaved() {
        cloud_test::ServiceProcess service;
        CloudRun run(service.address());
        QVERIFY(run.registerAndLogIn(QStringLiteral("qian"), QStringLiteral("pw")));
        ui::MainWindow& window = *run.f.window;
        window.show();
        QVERIFY(run.storeCast(sampleCast(u"20240204111111京房式T:10:00:00", u"甲")));
        control<QPlainTextEdit>(window, mainwindow::judgmentEdit)->setPlainText(kJudgment);
        run.f.prompter.messages.clear();

        service.pause();
        control<QPushButton>(window, mainwindow::saveJudgmentButton)->click();
        QVERIFY(run.cloud().exchange().busy());
        QVERIFY(QGuiApplication::overrideCursor() && QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor);
        // Input waits for the answer; Esc gives up the request and closes no window.
        QTest::mouseClick(control<QPushButton>(window, mainwindow::recentButton), Qt::LeftButton);
        QVERIFY(!control<QListWidget>(window, mainwindow::recentList)->isVisible());
        QTest::keyClick(&window, Qt::Key_Escape);
        QVERIFY(!run.cloud().exchange().busy());
        QVERIFY(!QGuiApplication::overrideCursor());
        QVERIFY(window.isVisible());
        service.resume();

        QVERIFY(run.f.prompter.messages.isEmpty());
        QVERIFY(run.f.bench().judgmentUnsaved());
        QVERIFY(control<QPushButton>(window, mainwindow::saveJudgmentButton)->isEnabled());
        QCOMPARE(control<QPlainTextEdit>(window, mainwindow::judgmentEdit)->toPlainText(), kJudgment);
        // Stored here before the service was asked, as every save is.
        QCOMPARE(run.f.bench().caseLists().caseTexts(1)->judgment, kJudgment);
        // The next save goes through.
        control<QPushButton>(window, mainwindow::saveJudgmentButton)->click();
        run.settle();
        QCOMPARE(run.f.prompter.messages, QStringList{QStringLiteral("断语保存成功。")});
        QVERIFY(!run.f.bench().judgmentUnsaved());
    }

    void programStaysUsableWhenTheServiceStops() {
        cloud_test::ServiceProcess service;
        CloudRun run(service.address());
        QVERIFY(run.registerAndLogIn(QStringLiteral("wu"), QStringLiteral("pw")));
        ui::MainWindow& window = *run.f.window;
        window.show();
        QVERIFY(run.storeCast(sampleCast(u"20240204111111京房式T:10:00:00", u"甲")));
        control<QPushButton>(window, mainwindow::recentButton)->click();
        run.settle();
        control<QListWidget>(window, mainwindow::recentList)->setCurrentRow(0);
        emit control<QListWidget>(window, mainwindow::recentList)
            ->itemDoubleClicked(control<QListWidget>(window, mainwindow::recentList)->currentItem());
        run.settle();
        QCOMPARE(run.f.bench().history().entries().size(), 2);
        service.stop();
        ScriptedPrompter& prompter = run.f.prompter;
        prompter.messages.clear();

        control<QPushButton>(window, mainwindow::recentButton)->click();
        run.settle();
        QCOMPARE(prompter.messages, QStringList{QStringLiteral("网络错误，请重试。")});
        QVERIFY(!control<QListWidget>(window, mainwindow::recentList)->isVisible());

        // A new cast is still stored here.
        QVERIFY(run.f.bench().storeCast(sampleCast(u"20240205222222京房式T:11:00:00", u"乙")));
        run.settle();
        QCOMPARE(prompter.messages.last(), QStringLiteral("网络保存失败，请重试，错误信息：neterror"));
        QCOMPARE(run.f.bench().caseLists().recentCases(50).size(), 2);

        // Texts: the failure is reported, the local row is written.
        prompter.messages.clear();
        control<QPlainTextEdit>(window, mainwindow::judgmentEdit)->setPlainText(kJudgment);
        control<QPushButton>(window, mainwindow::saveJudgmentButton)->click();
        run.settle();
        QVERIFY(prompter.messages.contains(QStringLiteral("网络保存失败，错误信息：neterror")));
        const auto texts = run.f.bench().caseLists().caseTexts(2);
        QVERIFY(texts.has_value());
        QCOMPARE(texts->judgment, kJudgment);

        // A cloud history entry cannot load; a local one can. The judgment counts as unsaved
        // (its save was reported failed), so each step asks first.
        prompter.messages.clear();
        prompter.saveAnswers = {workbench::Prompter::Answer::No, workbench::Prompter::Answer::No};
        control<QPushButton>(window, mainwindow::previousCaseButton)->click();
        run.settle();
        QCOMPARE(prompter.messages, QStringList{QStringLiteral("网络错误，请重试。")});
        control<QPushButton>(window, mainwindow::previousCaseButton)->click();
        run.settle();
        QCOMPARE(control<QLineEdit>(window, mainwindow::caseNumberEdit)->text(), QStringLiteral("20240204111111"));

        ui::CaseBrowser& browser = run.f.program->caseBrowser;
        browser.prepareFirstShowing();
        prompter.messages.clear();
        pick(control<QListWidget>(browser, casebrowser::categoryList),
             rowOf(control<QListWidget>(browser, casebrowser::categoryList), QStringLiteral(")杂类")));
        run.settle();
        QCOMPARE(prompter.messages, QStringList{QStringLiteral("网络错误，请重试。")});
        control<QLineEdit>(browser, casebrowser::newNameEdit)->setText(QStringLiteral("生意往来"));
        prompter.answers = {workbench::Prompter::Answer::Yes};
        control<QPushButton>(browser, casebrowser::renameButton)->click();
        run.settle();
        QCOMPARE(prompter.messages.last(), QStringLiteral("网络保存出错：neterror"));
        QVERIFY(control<QListWidget>(browser, casebrowser::categoryList)
                    ->currentItem()
                    ->text()
                    .endsWith(QStringLiteral(")生意往来")));
        // The local source still lists everything.
        control<QRadioButton>(browser, casebrowser::localSource)->click();
        pick(control<QListWidget>(browser, casebrowser::categoryList),
             rowOf(control<QListWidget>(browser, casebrowser::categoryList), QStringLiteral(")生意往来")));
        run.settle();
        QCOMPARE(control<QListWidget>(browser, casebrowser::yearList)->count(), 1);

        control<QPushButton>(window, mainwindow::settingsButton)->click();
        ui::PasswordWindow& password = run.cloud().passwordWindow();
        control<QLineEdit>(password, passwordwindow::oldEdit)->setText(QStringLiteral("pw"));
        control<QLineEdit>(password, passwordwindow::newEdit)->setText(QStringLiteral("pw2"));
        control<QLineEdit>(password, passwordwindow::confirmationEdit)->setText(QStringLiteral("pw2"));
        control<QPushButton>(password, passwordwindow::changeButton)->click();
        run.settle();
        QCOMPARE(prompter.messages.last(), QStringLiteral("网络保存出错：neterror"));
        QVERIFY(password.isVisible());
    }
};

QTEST_MAIN(CloudWindowsTest)
#include "cloud_windows_test.moc"
