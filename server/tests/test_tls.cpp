// The service speaking HTTPS itself: a certificate made for the test, a TLS client on
// 127.0.0.1, and plain HTTP refused on that port.
#include "raw_connection.h"
#include "service_harness.h"
#include "tls_test_client.h"

#include <gtest/gtest.h>

using namespace qinglan::caseservice;
using namespace qinglan::caseservice::testing;
using namespace std::chrono_literals;

namespace {

TEST(Tls, ServesHttpsAndNothingInClearText) {
    const Pem pem = selfSigned();
    FrontendSettings settings;
    std::string error;
    settings.tls = TlsCredentials::fromPem(pem.certificate, pem.key, error);
    ASSERT_TRUE(settings.tls) << error;
    RunningService service({}, {}, {}, settings);

    const std::string digest = passwordDigest("secret");
    const std::string reg = clientFormBody({{"nm", "张三"}, {"pw", digest}, {"shouji", "1"}, {"youxiang", ""}});
    TlsClientSettings client;
    client.trusted = pem.certificate;
    EXPECT_TRUE(
        tlsExchange(service.port(), postRequest("reg.php", reg, false), client).response.ends_with("\r\n\r\nok"));
    const std::string login =
        tlsExchange(service.port(), postRequest("login.php", clientFormBody({{"nm", "张三"}, {"pw", digest}}), false),
                    client)
            .response;
    EXPECT_TRUE(login.starts_with("HTTP/1.1 200")) << login;
    EXPECT_NE(login.find("X-Qinglan-Session: "), std::string::npos) << login;
    EXPECT_TRUE(login.ends_with("\r\n\r\nok")) << login;

    // The same request in clear text gets no answer in clear text.
    RawConnection plain(service.port());
    plain.send(postRequest("login.php", clientFormBody({{"nm", "张三"}, {"pw", digest}}), false));
    const auto replies = plain.responses(1, 2s);
    EXPECT_TRUE(replies.empty() || replies[0].find("ok") == std::string::npos);
}

}  // namespace
