// The cases of a logged-in user: stored in both places, texts, loading, lists, search, texts
// of one case and renames, against the real case service and the real local store.
#include "desktop_client.h"
#include "local_services.h"
#include "test_support/qt_printers.h"

#include <gtest/gtest.h>

namespace {

using cloud_test::CannedHttpServer;
using cloud_test::DesktopClient;
using cloud_test::ServiceProcess;

store::CastCase cast(const QString& caseNumber, const QString& category, QDate date, const QString& subject) {
    return {"主卦：乾为天 变卦：天风姤", caseNumber, category, "男", "1980", subject, date, false};
}

TEST(CloudCases, ACastWhileLoggedInIsStoredInBothPlacesAndItsTextsSurviveALoad) {
    ServiceProcess service;
    DesktopClient client(service.address());
    ASSERT_TRUE(client.logIn("u", "p"));
    const auto created =
        client.cases.createCase(cast("20240315343212京房式T:10:20:30", "求财", {2024, 3, 15}, "问 财&运+1"));
    EXPECT_TRUE(created.stored);
    EXPECT_EQ(created.cloudMessage, "");
    EXPECT_EQ(client.lists.recentCases().size(), 1);

    const auto recent = client.cloudCases.recentCases();
    ASSERT_EQ(recent.rows.size(), 1) << recent.message.toStdString();
    EXPECT_EQ(recent.rows[0].caseNumber, "20240315343212京房式T:10:20:30");
    EXPECT_EQ(recent.rows[0].subject, "问 财&运+1");
    EXPECT_EQ(recent.rows[0].hexagramName, "主卦：乾为天 变卦：天风姤");

    // Texts that hold later field names after "&" reach the service as they were typed.
    const store::CaseTexts texts{"第一行\n第二行 <b>&amp;\n&save_fankui=假&save_b=1&pw=x", "应验\r\n100%&nm=别人"};
    EXPECT_TRUE(client.cases.saveCaseTexts(store::TextsToSave::Both, texts).saved);

    // Another machine of the same user opens it from the service.
    DesktopClient elsewhere(service.address());
    ASSERT_TRUE(elsewhere.logIn("u", "p", false));
    const auto loaded = elsewhere.cloudCases.loadCloudCase(recent.rows[0].id, elsewhere.cases);
    ASSERT_TRUE(loaded.texts) << loaded.message.toStdString();
    EXPECT_EQ(loaded.texts->judgment, texts.judgment);
    EXPECT_EQ(loaded.texts->feedback, texts.feedback);
    const store::CaseRecord& record = elsewhere.cases.record();
    EXPECT_EQ(record.caseNumber, "20240315343212京房式T:10:20:30");
    EXPECT_EQ(record.categoryId, "2");
    EXPECT_EQ(QStringList({record.year, record.month, record.day, record.gender, record.birthYear, record.subject}),
              QStringList({"2024", "3", "15", "男", "1980", "问 财&运+1"}));
    EXPECT_EQ(elsewhere.history.entries(), QStringList{QString::number(recent.rows[0].id) + "(网络)"});

    // Saving there inserts the local row first, and the service keeps one case.
    EXPECT_TRUE(elsewhere.cases.saveCaseTexts(store::TextsToSave::Feedback, {"", "改过的反馈"}).saved);
    EXPECT_EQ(elsewhere.lists.recentCases().size(), 1);
    EXPECT_EQ(client.cloudCases.caseTexts(recent.rows[0].id).text,
              std::optional<QString>(texts.judgment + "\n***反馈***\n改过的反馈"));
    EXPECT_EQ(client.cloudCases.recentCases().rows.size(), 1);
}

TEST(CloudCases, BrowserDrillDownSearchAndEmptyAnswers) {
    ServiceProcess service;
    DesktopClient client(service.address());
    ASSERT_TRUE(client.logIn("u", "p"));
    client.cases.createCase(cast("20230102111111京房式T:01:00:00", "求财", {2023, 1, 2}, "旧年求财"));
    client.cases.createCase(cast("20240305222222京房式T:02:00:00", "求财", {2024, 3, 5}, "春季求财"));
    client.cases.createCase(cast("20240320333333京房式T:03:00:00", "事业", {2024, 3, 20}, "换工作"));
    client.cases.createCase(cast("20241111444444京房式T:04:00:00", "事业", {2024, 11, 11}, "升职"));

    EXPECT_EQ(client.cloudCases.yearList(store::kAllCategories).items, (QStringList{"2023", "2024"}));
    EXPECT_EQ(client.cloudCases.yearList(3).items, QStringList{"2024"});
    EXPECT_EQ(client.cloudCases.monthList(store::kAllCategories, "2024").items, (QStringList{"3", "11"}));
    EXPECT_EQ(client.cloudCases.monthList(2, "2024").items, QStringList{"3"});
    const auto march = client.cloudCases.casesOfMonth(store::kAllCategories, "2024", "3");
    ASSERT_EQ(march.rows.size(), 2);
    EXPECT_EQ(march.rows[0].subject + march.rows[1].subject, "春季求财换工作");
    EXPECT_EQ(client.cloudCases.casesOfMonth(3, "2024", "3").rows.size(), 1);
    EXPECT_EQ(client.cloudCases.searchCases("求财").rows.size(), 2);
    EXPECT_EQ(client.cloudCases.searchCases("list50").rows.size(), 4) << "the keyword list50 asks for the recent list";

    const struct {
        const char* what;
        QString message, expected;
    } empty[] = {
        {"years", client.cloudCases.yearList(9).message, cloud::kNoYears},
        {"months", client.cloudCases.monthList(store::kAllCategories, "1999").message, cloud::kNoMonths},
        {"cases", client.cloudCases.casesOfMonth(2, "2024", "11").message, cloud::kNoCases},
        {"search", client.cloudCases.searchCases("没有这个词").message, cloud::kNoSearchResult},
        {"load", client.cloudCases.loadCloudCase(999999, client.cases).message, cloud::kNoSearchResult},
    };
    for (const auto& e : empty) EXPECT_EQ(e.message, e.expected) << e.what;

    // Another user sees none of it.
    DesktopClient other(service.address());
    ASSERT_TRUE(other.logIn("v", "p"));
    EXPECT_EQ(other.cloudCases.recentCases().rows.size(), 0);
    EXPECT_EQ(other.cloudCases.recentCases().message, "") << "an empty recent list is shown without a message";
    EXPECT_EQ(other.cloudCases.caseTexts(march.rows[0].id).text, std::nullopt);
    EXPECT_EQ(other.cloudCases.loadCloudCase(march.rows[0].id, other.cases).message, cloud::kNoSearchResult);
}

TEST(CloudCases, AStoppedServiceOrAStalePasswordLeavesTheLocalStoreWorking) {
    ServiceProcess service;
    DesktopClient client(service.address());
    ASSERT_TRUE(client.logIn("u", "p"));
    client.cases.createCase(cast("20240102111111京房式T:01:00:00", "求财", {2024, 1, 2}, "一"));
    const qint64 id = client.cloudCases.recentCases().rows.value(0).id;

    // The password changed from another machine: this run's requests are refused.
    DesktopClient elsewhere(service.address());
    ASSERT_TRUE(elsewhere.logIn("u", "p", false));
    ASSERT_TRUE(elsewhere.account.changePassword({"p", "q", "q"}).changed);
    EXPECT_EQ(client.cloudCases.loadCloudCase(id, client.cases).message, cloud::kRefused);
    EXPECT_EQ(client.cloudCases.yearList(store::kAllCategories).message, cloud::kRefused);
    EXPECT_EQ(client.cloudCases.caseTexts(id).message, cloud::kRefused);
    auto created = client.cases.createCase(cast("20240103111111京房式T:01:00:00", "求财", {2024, 1, 3}, "二"));
    EXPECT_EQ(created.cloudMessage, "网络保存失败，请重试，错误信息：no");

    service.stop();
    created = client.cases.createCase(cast("20240104111111京房式T:01:00:00", "求财", {2024, 1, 4}, "三"));
    EXPECT_TRUE(created.stored);
    EXPECT_EQ(created.cloudMessage, "网络保存失败，请重试，错误信息：neterror");
    const auto saved = client.cases.saveCaseTexts(store::TextsToSave::Judgment, {"断语", ""});
    EXPECT_FALSE(saved.saved);
    EXPECT_EQ(saved.message, "网络保存失败，错误信息：neterror");
    EXPECT_EQ(
        client.db->getFirstString("select duanyu from gua_table where id=?", {client.cases.record().saveKey}),
        "断语");
    EXPECT_EQ(client.lists.recentCases().size(), 3);
    for (const QString& message :
         {client.cloudCases.recentCases().message, client.cloudCases.searchCases("一").message,
          client.cloudCases.yearList(1).message, client.cloudCases.monthList(1, "2024").message,
          client.cloudCases.casesOfMonth(1, "2024", "1").message, client.cloudCases.caseTexts(id).message,
          client.cloudCases.loadCloudCase(id, client.cases).message})
        EXPECT_EQ(message, cloud::kNetErrorRetry);
    EXPECT_EQ(cloud_test::renameCategory(client.lists, &client.cloudCases, 2, "生意"), "网络保存出错：neterror");
    EXPECT_EQ(client.db->getFirstString("select lei_mingcheng from fenlei_table where lei_id=2"), "生意");
}

TEST(CloudCases, RepliesFromOtherServicesAreReadByTheRules) {
    QString many = "ok<t>";
    for (int i = 1; i <= 3100; ++i) many += QStringLiteral("%1<t>n%1<t>s%1<t>m%1<t>").arg(i);
    CannedHttpServer manyRows(many.toUtf8());
    DesktopClient client(manyRows.address());
    ASSERT_EQ(client.cloudCases.recentCases().rows.size(), 102);
    EXPECT_EQ(client.cloudCases.searchCases("x").rows.size(), 102);
    EXPECT_EQ(client.cloudCases.casesOfMonth(-1, "2024", "1").rows.size(), 3001);
    EXPECT_EQ(client.cloudCases.yearList(-1).items.size(), 101);
    const auto row = client.cloudCases.recentCases().rows.last();
    EXPECT_EQ(QStringList({QString::number(row.id), row.caseNumber, row.subject, row.hexagramName}),
              QStringList({"102", "n102", "s102", "m102"}));

    // The texts save counts any reply holding "ok" as saved; the local save runs either way.
    const struct {
        QByteArray reply;
        bool saved;
    } saves[] = {{"saved: ok!", true}, {"<html>books</html>", true}, {"failed", false}};
    for (const auto& s : saves) {
        CannedHttpServer server(s.reply);
        DesktopClient local(server.address());
        local.cases.cloud = &local.cloudCases;
        local.cases.createCase(cast("20240104111111京房式T:01:00:00", "求财", {2024, 1, 4}, "三"));
        const auto result = local.cases.saveCaseTexts(store::TextsToSave::Judgment, {"断语", ""});
        EXPECT_EQ(result.saved, s.saved) << s.reply.toStdString();
        EXPECT_EQ(local.db->getFirstString("select duanyu from gua_table"), "断语");
    }

    const struct {
        QByteArray reply;
        std::optional<QString> shown;
    } texts[] = {{"", std::nullopt},
                 {"<tr>", std::nullopt},
                 {"断<tr>馈<tr>x", "断\n***反馈***\n馈<tr>x"},
                 {"<tr>馈", "\n***反馈***\n馈"}};
    for (const auto& t : texts) {
        CannedHttpServer server(t.reply);
        DesktopClient local(server.address());
        const auto result = local.cloudCases.caseTexts(1);
        EXPECT_EQ(result.text, t.shown) << t.reply.toStdString();
        EXPECT_EQ(result.message, "");
    }
}

// A case cast elsewhere opens on another machine with its place and clock, and a texts save
// there keeps them in its local copy. A case of the default place goes as older clients send it.
TEST(CloudCases, ThePlaceOfACaseTravelsThroughTheService) {
    ServiceProcess service;
    DesktopClient client(service.address());
    ASSERT_TRUE(client.logIn("u", "p"));
    store::CastCase placed = cast("20240105242122京房式T:20:30:00", "求财", {2024, 1, 5}, "温哥华");
    placed.place = "-123.1,America/Vancouver";
    placed.timeRule = "solar";
    ASSERT_EQ(client.cases.createCase(placed).cloudMessage, "");
    ASSERT_EQ(
        client.cases.createCase(cast("20240106111111京房式T:09:00:00", "求财", {2024, 1, 6}, "北京")).cloudMessage, "");
    const auto recent = client.cloudCases.recentCases().rows;
    ASSERT_EQ(recent.size(), 2);

    DesktopClient elsewhere(service.address());
    ASSERT_TRUE(elsewhere.logIn("u", "p", false));
    const std::pair<qint64, const char*> loads[] = {{recent[0].id, "|"},
                                                    {recent[1].id, "-123.1,America/Vancouver|solar"}};
    for (const auto& [id, place] : loads) {
        ASSERT_TRUE(elsewhere.cloudCases.loadCloudCase(id, elsewhere.cases).texts);
        EXPECT_EQ(elsewhere.cases.record().place + "|" + elsewhere.cases.record().timeRule, place);
    }
    EXPECT_TRUE(elsewhere.cases.saveCaseTexts(store::TextsToSave::Feedback, {"", "应验"}).saved);
    EXPECT_EQ(elsewhere.db->getFirstString("select didian||'|'||shizhi from gua_table"),
              "-123.1,America/Vancouver|solar");
}

TEST(CloudCases, RenameGoesToTheServiceFirstAndAlwaysToTheLocalTable) {
    ServiceProcess service;
    DesktopClient client(service.address());
    ASSERT_TRUE(client.logIn("u", "p"));
    EXPECT_EQ(cloud_test::renameCategory(client.lists, &client.cloudCases, 4, "婚恋"), "");
    EXPECT_EQ(client.db->getFirstString("select lei_mingcheng from fenlei_table where lei_id=4"), "婚恋");
    // The service refuses an empty name; the local rename still happens.
    EXPECT_EQ(cloud_test::renameCategory(client.lists, &client.cloudCases, 5, ""), "网络保存出错：请求被拒绝：分类名称为空");
    EXPECT_EQ(client.db->getFirstString("select lei_mingcheng from fenlei_table where lei_id=5"), "");
    // Logged out: local only.
    DesktopClient offline(service.address());
    EXPECT_EQ(cloud_test::renameCategory(offline.lists, nullptr, 4, "感情"), "");

    DesktopClient elsewhere(service.address());
    ASSERT_TRUE(elsewhere.logIn("u", "p", false));
    EXPECT_EQ(elsewhere.db->getFirstString("select lei_mingcheng from fenlei_table where lei_id=4"), "婚恋");
}

TEST(CloudCases, ACancelledRequestChangesNothingHere) {
    CannedHttpServer silent(std::nullopt);  // takes every request and never answers
    DesktopClient client(silent.address());
    ASSERT_TRUE(client.cases.local.createCase(cast("20240102111111京房式T:01:00:00", "求财", {2024, 1, 2}, "一")).stored);
    const store::CaseRecord before = client.cases.record();
    const QStringList history = client.history.entries();
    const QString category = client.db->getFirstString("select lei_mingcheng from fenlei_table where lei_id=2");

    // Each request is under way when the user gives up; its callback says so and nothing else.
    int cancelled = 0;
    client.cloudCases.service.loadCloudCase(7, client.cases.local,
                                            [&](const cloud::CloudLoad& load) { cancelled += load.cancelled; });
    client.account.account.login({"u", "p", true},
                                 [&](const cloud::LoginOutcome& outcome) { cancelled += outcome.cancelled; });
    cloud::renameCategory(client.lists, &client.cloudCases.service, 2, "改名",
                          [&](const cloud::CloudSave& renamed) { cancelled += renamed.cancelled; });
    ASSERT_TRUE(client.exchange.busy());
    client.session.cancel();
    EXPECT_EQ(cancelled, 3);
    EXPECT_FALSE(client.exchange.busy());

    EXPECT_EQ(client.cases.record().caseNumber, before.caseNumber);
    EXPECT_EQ(client.cases.record().saveKey, before.saveKey);
    EXPECT_EQ(client.history.entries(), history);
    EXPECT_FALSE(client.session.loggedIn());
    EXPECT_EQ(client.account.remembered().userName, "");
    EXPECT_EQ(client.db->getFirstString("select lei_mingcheng from fenlei_table where lei_id=2"), category);
    EXPECT_EQ(client.lists.recentCases().size(), 1);
}

}  // namespace

TEST(CloudCases, AQuotaReachedAtTheServiceIsShownWhenSavingACaseOrItsTexts) {
    ServiceProcess service({"--quota-saves-per-minute", "3", "--quota-bytes", "4K"});
    DesktopClient client(service.address());
    ASSERT_TRUE(client.logIn("u", "p"));
    const auto first = client.cases.createCase(cast("20240102111111京房式T:01:00:00", "求财", {2024, 1, 2}, "一"));
    EXPECT_EQ(first.cloudMessage, "");
    const auto tooLarge = client.cases.saveCaseTexts(store::TextsToSave::Judgment, {QString(5000, 'j'), ""});
    EXPECT_FALSE(tooLarge.saved);
    EXPECT_EQ(tooLarge.message,
              "网络保存失败，错误信息：请求被拒绝：本账户在网络上保存的内容已达上限（4 KiB），未保存");
    EXPECT_TRUE(client.cases.saveCaseTexts(store::TextsToSave::Judgment, {"断语", ""}).saved);
    const auto tooFast = client.cases.createCase(cast("20240103111111京房式T:01:00:00", "求财", {2024, 1, 3}, "二"));
    EXPECT_TRUE(tooFast.stored) << "stored here all the same";
    EXPECT_TRUE(tooFast.cloudMessage.startsWith(
        "网络保存失败，请重试，错误信息：请求被拒绝：保存过于频繁（每个账户每分钟至多3次）"))
        << tooFast.cloudMessage.toStdString();
    const auto textsTooFast = client.cases.saveCaseTexts(store::TextsToSave::Feedback, {"", "反馈"});
    EXPECT_FALSE(textsTooFast.saved);
    EXPECT_TRUE(textsTooFast.message.contains("保存过于频繁")) << textsTooFast.message.toStdString();
}

TEST(CloudCases, ARefusedListSaysWhyInsteadOfFindingNothing) {
    const QString busy = QStringLiteral("请求被拒绝：同时进行的搜索过多，请等前面的搜索结束后再试");
    CannedHttpServer server(busy.toUtf8());
    DesktopClient client(server.address());
    const auto found = client.cloudCases.searchCases("问事");
    EXPECT_TRUE(found.rows.isEmpty());
    EXPECT_EQ(found.message, busy);
    EXPECT_EQ(client.cloudCases.yearList(-1).message, busy);
}
