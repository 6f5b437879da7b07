// Reading request bodies and checking their texts, without HTTP.
#include "model/text_checks.h"
#include "protocol/form_body.h"

#include <gtest/gtest.h>

using namespace qinglan::caseservice;

namespace {

struct BodyCase {
    const char* what;
    std::string body;
    std::vector<std::string_view> names;
    std::vector<std::pair<std::string, std::optional<std::string>>> expected;
};

TEST(FormBody, SplitsOnlyBeforeTheExpectedFieldNames) {
    const std::vector<std::string_view> cha = {"nm", "wd", "pw"};
    const std::vector<std::string_view> rename = {"nm", "lei_bendi_id", "lei_mingcheng", "pw"};
    const std::vector<BodyCase> cases = {
        {"plain", "nm=a&wd=b&pw=C", cha, {{"nm", "a"}, {"wd", "b"}, {"pw", "C"}}},
        {"& = + inside a value", "nm=a&wd=x&y=z+1&pw=C", cha, {{"wd", "x&y=z+1"}, {"pw", "C"}}},
        {"escapes decoded, + kept", "nm=%E5%BC%A0&wd=a%20b+c%25&pw=C", cha, {{"nm", "张"}, {"wd", "a b+c%"}}},
        {"a later name inside a free text", "nm=a&wd=q&pw=x&pw=D", cha, {{"wd", "q&pw=x"}, {"pw", "D"}}},
        {"name without & is data", "nm=a&wd=nm=b wd=c&pw=C", cha, {{"nm", "a"}, {"wd", "nm=b wd=c"}}},
        {"no pw", "nm=a&wd=b", cha, {{"wd", "b"}, {"pw", std::nullopt}}},
        {"must start with the first name",
         "wd=b&nm=a&pw=C",
         cha,
         {{"nm", std::nullopt}, {"wd", std::nullopt}, {"pw", std::nullopt}}},
        {"an earlier field name inside a value",
         "nm=a&lei_bendi_id=3&lei_mingcheng=x&nm=y&pw=P",
         rename,
         {{"nm", "a"}, {"lei_mingcheng", "x&nm=y"}, {"pw", "P"}}},
        {"empty values", "nm=&wd=&pw=", cha, {{"nm", ""}, {"wd", ""}, {"pw", ""}}},
        {"stray % kept", "nm=a&wd=100%&pw=C", cha, {{"wd", "100%"}}},
        {"lower-case hex", "nm=a&wd=%e4%b8%ad&pw=C", cha, {{"wd", "中"}}},
    };
    for (const auto& c : cases) {
        const auto form = parseFormBody(c.body, c.names);
        for (const auto& [name, value] : c.expected) EXPECT_EQ(form.get(name), value) << c.what << ": " << name;
    }
}

TEST(TextChecks, Utf8) {
    const std::vector<std::pair<std::string, bool>> cases = {
        {"", true},
        {"abc", true},
        {"中文断语", true},
        {"\xF0\x9F\x80\x84", true},  // U+1F004
        {"\xFF", false},
        {"\xE4\xB8", false},          // cut short
        {"\xC0\xAF", false},          // overlong "/"
        {"\xE0\x80\xAF", false},      // overlong "/"
        {"\xED\xA0\x80", false},      // a surrogate
        {"\xF4\x90\x80\x80", false},  // above U+10FFFF
        {"a\x80", false},             // a lone continuation byte
    };
    for (const auto& [text, valid] : cases) EXPECT_EQ(isValidUtf8(text), valid) << testing::PrintToString(text);
}

TEST(TextChecks, NumbersAndDigests) {
    EXPECT_EQ(parseInteger("2024"), 2024);
    EXPECT_EQ(parseInteger("-1"), -1);
    for (const char* bad : {"", "-", "1.5", " 1", "1 ", "12a", "9999999999999999999"})
        EXPECT_FALSE(parseInteger(bad)) << bad;
    EXPECT_TRUE(isPasswordDigest("900150983CD24FB0D6963F7D28E17F72"));
    EXPECT_FALSE(isPasswordDigest("900150983CD24FB0D6963F7D28E17F7"));
    EXPECT_FALSE(isPasswordDigest("900150983CD24FB0D6963F7D28E17F7G"));
    EXPECT_TRUE(holdsReplyMarker("a<t>b"));
    EXPECT_TRUE(holdsReplyMarker("a<tr>b"));
    EXPECT_FALSE(holdsReplyMarker("a<table>b"));
}

}  // namespace
