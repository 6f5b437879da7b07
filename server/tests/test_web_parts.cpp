// The web front end's own parts, in this process: the form bodies it posts to the protocol's
// endpoints (read back by the protocol's own parser), reply fields, the desktop digest, the
// session cookie and its CSRF token.
#include "protocol/form_body.h"
#include "protocol/reply_format.h"
#include "web/protocol_replies.h"
#include "web/web_session.h"
#include "web/wire_calls.h"

#include <QJsonObject>

#include <gtest/gtest.h>

namespace qinglan::caseservice {
namespace {

TEST(WebWireCalls, FormBodiesReadBackByTheProtocolsParser) {
    const std::vector<std::string> values = {
        "", "plain", "a&nm=b&pw=c", "100% + = ?", "断语<t>反馈<tr>", std::string("nul\0byte", 8), "\r\n\t"};
    for (const auto& value : values) {
        const std::string body = formBody({{"nm", "alice"}, {"wd", value}, {"pw", "token"}});
        const FormFields fields = parseFormBody(body, {"nm", "wd", "pw"});
        EXPECT_FALSE(fields.ambiguous()) << body;
        EXPECT_EQ(fields.value("nm"), "alice");
        EXPECT_EQ(fields.value("wd"), value) << body;
        EXPECT_EQ(fields.value("pw"), "token");
    }
}

TEST(WebWireCalls, ReplyFieldsEndAtEachFieldMark) {
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
        {"", {}},
        {"no", {"no"}},
        {"ok<t>", {"ok"}},
        {"ok<t>1<t>号<t><t>", {"ok", "1", "号", ""}},
        {"ok<t>tail", {"ok", "tail"}},
    };
    for (const auto& [reply, fields] : cases) EXPECT_EQ(replyFields(reply), fields) << reply;
}

TEST(WebProtocolReplies, CaseListsReadTheProtocolsOwnReplies) {
    // Written by the protocol's own reply format, read back as the page's rows.
    const std::string reply = caseListReply({{12, "20240115123412京房式T:10:00:00", "问<事>", "主卦：乾为天 变卦：坤为地"},
                                             {13, "x", "", "坤为地"}});
    const QJsonArray rows = caseList(reply, 50);
    ASSERT_EQ(rows.size(), 2);
    const QJsonObject first = rows[0].toObject();
    EXPECT_EQ(first["id"].toInteger(), 12);
    EXPECT_EQ(first["subject"].toString(), QStringLiteral("问<事>"));
    EXPECT_EQ(first["name"].toString(), QStringLiteral("主卦：乾为天 变卦：坤为地"));
    EXPECT_EQ(first["castDate"].toString(), QStringLiteral("2024-01-15"));
    EXPECT_EQ(rows[1].toObject()["castDate"].toString(), QString());  // no date in "x"
    EXPECT_EQ(caseList(reply, 1).size(), 1);
    EXPECT_TRUE(caseList("", 50).isEmpty());
    EXPECT_TRUE(caseList("no", 50).isEmpty());
    EXPECT_EQ(numberList(numberListReply({2023, 2024})), QJsonArray({2023, 2024}));
}

const std::string kToken(64, 'a');

TEST(WebSession, CookieCarriesTokenAndNameWithStrictFlags) {
    const WebSession session{"李 alice;=", kToken};
    for (const bool https : {false, true}) {
        const std::string cookie = sessionCookie(session, https);
        const std::string pair = cookie.substr(0, cookie.find(';'));
        const auto read = sessionOfCookie("theme=dark; " + pair + "; other=1");
        ASSERT_TRUE(read);
        EXPECT_EQ(read->name, session.name);
        EXPECT_EQ(read->token, kToken);
        EXPECT_NE(cookie.find("; HttpOnly"), std::string::npos);
        EXPECT_NE(cookie.find("; SameSite=Strict"), std::string::npos);
        EXPECT_EQ(cookie.find("; Secure") != std::string::npos, https);
    }
    EXPECT_NE(endedSessionCookie(true).find("Max-Age=0"), std::string::npos);
}

TEST(WebSession, MalformedCookiesGiveNoSession) {
    for (const std::string& header : std::vector<std::string>{
             "", "qinglan_session=", "qinglan_session=" + kToken, "qinglan_session=" + kToken + ".",
          "qinglan_session=" + kToken + ".6", "qinglan_session=" + kToken + ".zz",
          "qinglan_sessionx=" + kToken + ".61", "qinglan_session=" + std::string(200, 'a') + ".61"})
        EXPECT_FALSE(sessionOfCookie(header)) << header;
}

TEST(WebSession, CsrfTokenBelongsToOneSession) {
    const WebSession mine{"alice", kToken};
    const WebSession other{"alice", std::string(64, 'b')};
    const std::string token = csrfTokenOf(mine);
    EXPECT_EQ(token.size(), 64u);
    EXPECT_TRUE(csrfTokenMatches(mine, token));
    EXPECT_FALSE(csrfTokenMatches(other, token));
    EXPECT_FALSE(csrfTokenMatches(mine, ""));
    EXPECT_FALSE(csrfTokenMatches(mine, token.substr(0, 63)));
    EXPECT_FALSE(csrfTokenMatches(mine, kToken));
}

}  // namespace
}  // namespace qinglan::caseservice
