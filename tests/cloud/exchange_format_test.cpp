// The texts of the exchange without a network: the request body, urlDecode, the list-reading
// rule, the password digest and the service address setting.
#include "cloud/cloud_case_service.h"
#include "cloud/form_encoding.h"
#include "account/password_digest.h"
#include "cloud/reply_reading.h"
#include "cloud/service_address.h"
#include "test_support/qt_printers.h"

#include <gtest/gtest.h>

namespace {

TEST(FormBody, EscapesOnlyTheListedCharactersAsUtf8Bytes) {
    const struct {
        QStringList fields;
        QByteArray body;
    } cases[] = {
        {{"wd=a b"}, "wd=a%20b"},
        {{"wd=中"}, "wd=%E4%B8%AD"},
        {{"nm=甲", "wd=x&y=z+1"}, "nm=%E7%94%B2&wd=x%26y=z+1"},  // "=" and "+" go as they are, "&" never
        {{"save_duanyu=断&save_fankui=假", "save_fankui=真"},
         "save_duanyu=%E6%96%AD%26save_fankui=%E5%81%87&save_fankui=%E7%9C%9F"},
        {{"a=*#%<> []"}, "a=%2A%23%25%3C%3E%20%5B%5D"},
        {{"a=line1\nline2\t!"}, "a=line1%0Aline2%09!"},
        {{"a=~\x7f"}, "a=~\x7f"},  // DEL is ASCII above 33: as it is
        {{"a=\u0080"}, "a=%C2%80"},
        {{"a=😀"}, "a=%F0%9F%98%80"},
        {{"n a=b=c"}, "n%20a=b=c"},  // split at the first "=" only
        {{"a="}, "a="},
    };
    for (const auto& c : cases) EXPECT_EQ(cloud::encodeFormBody(c.fields), c.body) << c.fields.join(u'|').toStdString();
}

TEST(UrlDecode, DecodesFourDigitUnitsAndPlusAndRejectsBadEscapes) {
    const struct {
        QString text;
        QString decoded;
    } good[] = {
        {"a+b%0041", "a bA"}, {"%4E2D", "中"},      {"%4e2d%6587", "中文"},
        {"%D83D%DE00", "😀"},  {"100%0025", "100%"}, {"", ""},
    };
    for (const auto& c : good) EXPECT_EQ(cloud::urlDecode(c.text), c.decoded) << c.text.toStdString();
    for (const QString bad : {"%4E", "ab%", "%4E2", "%4G2D", "%-123", "% 123", "x%00"}) {
        try {
            cloud::urlDecode(bad);
            ADD_FAILURE() << "accepted " << bad.toStdString();
        } catch (const cloud::UrlDecodeError& error) {
            EXPECT_STREQ(error.what(), "Invalid hex digit in URL");
        }
    }
}

QString recordsOf(int count, int width) {
    QString reply = "ok<t>";
    for (int r = 0; r < count; ++r)
        for (int f = 0; f < width; ++f) reply += QStringLiteral("r%1f%2<t>").arg(r).arg(f);
    return reply;
}

TEST(ListReading, SkipsStatusAndEmptyFieldsAndStopsAtTheCap) {
    using Rows = QList<QStringList>;
    EXPECT_EQ(cloud::readList("ok<t>1<t>a<t>b<t>c<t><t><t>2<t>d<t>e<t>f<t>", 4, 102),
              (Rows{{"1", "a", "b", "c"}, {"2", "d", "e", "f"}}));
    EXPECT_EQ(cloud::readList("", 4, 102), Rows{});
    EXPECT_EQ(cloud::readList("ok<t>", 1, 101), Rows{});
    EXPECT_EQ(cloud::readList("no", 1, 101), Rows{});
    // Three characters or fewer left are not a record.
    EXPECT_EQ(cloud::readList("ok<t>2024<t>abc", 1, 101), (Rows{{"2024"}}));
    // A record cut short keeps what is there; missing fields are empty.
    EXPECT_EQ(cloud::readList("ok<t>7<t>case", 4, 102), (Rows{{"7", "case", "", ""}}));
    EXPECT_EQ(cloud::readList(recordsOf(150, 4), 4, 102).size(), 102);
    EXPECT_EQ(cloud::readList(recordsOf(3100, 4), 4, 3001).size(), 3001);
    EXPECT_EQ(cloud::readList(recordsOf(150, 1), 1, 101).size(), 101);
    EXPECT_EQ(cloud::readList(recordsOf(150, 4), 4, 102).last(), (QStringList{"r101f0", "r101f1", "r101f2", "r101f3"}));
}

TEST(PasswordDigest, IsDoubleMd5OfTheAsciiTextInUppercaseHex) {
    // Expected values from an independent MD5 (Python hashlib) of the ASCII texts.
    EXPECT_EQ(account::passwordDigest(""), "80404D0C6D24E87F650FF7D1985CD762");
    EXPECT_EQ(account::passwordDigest("abc"), "1CEB3E00BFA610E1C55453734A5C6B7E");
    EXPECT_EQ(account::passwordDigest("secret"), "DA7E206F72183441EE0F910074EE480F");
    EXPECT_EQ(account::passwordDigest("密码"), "7E7B704F7AB7624762746FF570D75605");  // as "??"
    // Every character outside ASCII counts as one "?".
    EXPECT_EQ(account::passwordDigest("密码1"), "C2DE26546862887491DD07E031F53302");
    EXPECT_EQ(account::passwordDigest("😀"), "B35E72B134EA50E4B54B6B2BA1CDF02D");
}

TEST(ServiceAddress, CommandLineThenEnvironmentThenDefault) {
    QProcessEnvironment none;
    QProcessEnvironment withService;
    withService.insert("QINGLAN_SERVICE", "https://cases.example.org/qinglan");
    QProcessEnvironment emptyService;
    emptyService.insert("QINGLAN_SERVICE", "");
    const struct {
        QStringList arguments;
        QProcessEnvironment environment;
        QString address;  // empty: refused
    } cases[] = {
        {{"qinglan"}, none, "http://127.0.0.1:8080/"},
        {{"qinglan"}, emptyService, "http://127.0.0.1:8080/"},
        {{"qinglan"}, withService, "https://cases.example.org/qinglan/"},
        {{"qinglan", "--service", "https://10.0.0.5:9000"}, withService, "https://10.0.0.5:9000/"},
        {{"qinglan", "--service=https://h/"}, none, "https://h/"},
        {{"qinglan", "--service", "http://localhost:8080"}, none, "http://localhost:8080/"},
        {{"qinglan", "--service", "http://127.0.0.2:8080"}, none, "http://127.0.0.2:8080/"},
        {{"qinglan", "--service", "http://[::1]:8080/"}, none, "http://[::1]:8080/"},
        // Passwords and tokens never go in clear text to another host.
        {{"qinglan", "--service", "http://10.0.0.5:9000"}, withService, ""},
        {{"qinglan", "--service=http://h/"}, none, ""},
        {{"qinglan", "--service=http://127.0.0.1.example.org/"}, none, ""},
        {{"qinglan", "--service", "ftp://h/"}, none, ""},
        {{"qinglan", "--service", "h:8080"}, none, ""},
        {{"qinglan", "--service", "http://h/?x=1"}, none, ""},
        {{"qinglan", "--service", "http://user:pw@h/"}, none, ""},
    };
    for (const auto& c : cases) {
        const cloud::ServiceAddress resolved = cloud::resolveServiceAddress(c.arguments, c.environment);
        EXPECT_EQ(resolved.url.toString(), c.address) << c.arguments.join(u' ').toStdString();
        EXPECT_EQ(resolved.error.isEmpty(), !c.address.isEmpty()) << resolved.error.toStdString();
    }
    EXPECT_EQ(cloud::resolveServiceAddress({"q"}, none).url.resolved(QUrl("login.php")).toString(),
              "http://127.0.0.1:8080/login.php");
    const QString refused = cloud::resolveServiceAddress({"q", "--service", "http://cases.example.org/"}, none).error;
    EXPECT_TRUE(refused.contains("cases.example.org") && refused.contains("https://")) << refused.toStdString();
}

TEST(MessageLink, OnlyWebAddressesAreOpened) {
    const struct {
        QString link;
        bool openable;
    } cases[] = {
        {"http://example.org/news", true}, {"https://example.org/a?b=1#c", true},
        {"file:///etc/passwd", false},     {"javascript:alert(1)", false},
        {"smb://host/share", false},       {"/usr/bin/xterm", false},
        {"http:///nohost", false},         {"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(cloud::isOpenableLink(c.link), c.openable) << c.link.toStdString();
}

TEST(SaveReplies, DecideWhetherTheServiceTookTheCase) {
    const struct {
        const char* reply;
        bool caseSaved, textsSaved;
    } cases[] = {
        {"ok", true, true},    {"xxokxx", false, true}, {"error", false, false},
        {"neterror", false, false}, {"no", false, false},
    };
    for (const auto& c : cases) {
        const QString reply = QString::fromLatin1(c.reply);
        const cloud::CloudSave newCase = cloud::newCaseSaved(reply);
        EXPECT_EQ(newCase.saved, c.caseSaved) << c.reply;
        EXPECT_EQ(newCase.message, c.caseSaved ? QString() : "网络保存失败，请重试，错误信息：" + reply) << c.reply;
        const cloud::CloudSave texts = cloud::textsSaved(reply);
        EXPECT_EQ(texts.saved, c.textsSaved) << c.reply;
        EXPECT_EQ(texts.message, c.textsSaved ? QString() : "网络保存失败，错误信息：" + reply) << c.reply;
    }
}

}  // namespace
