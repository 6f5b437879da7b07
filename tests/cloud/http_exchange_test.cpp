// postHttp on the wire: what goes out, what comes back, and every failure as "neterror".
#include "cloud/http_exchange.h"
#include "cloud/exchange_test_access.h"
#include "local_services.h"
#include "test_support/qt_printers.h"

#include <gtest/gtest.h>
#include <QBuffer>

namespace {

using cloud::ExchangeFailure;
using cloud::HttpExchange;
using cloud_test::CannedHttpServer;

struct BusyCount {
    int begun = 0, ended = 0;
    cloud::BusyHooks hooks() {
        return {[this] { ++begun; }, [this] { ++ended; }};
    }
};

TEST(HttpExchange, SendsTheEncodedFormAndReadsTheUtf8Reply) {
    CannedHttpServer server(QByteArray("ok<t>中文回复<t>"));
    HttpExchange exchange;
    EXPECT_EQ(exchange.postHttp(server.address().resolved(QUrl("cha.php")), {"nm=张三", "wd=a b&c"}),
              "ok<t>中文回复<t>");
    EXPECT_EQ(exchange.lastFailure(), ExchangeFailure::None);
    ASSERT_EQ(server.requests().size(), 1);
    const QByteArray request = server.requests().first();
    EXPECT_TRUE(request.startsWith("POST /cha.php HTTP/1.1\r\n")) << request.toStdString();
    EXPECT_TRUE(request.toLower().contains("content-type: application/x-www-form-urlencoded\r\n"));
    EXPECT_EQ(cloud_test::bodyOf(request), "nm=%E5%BC%A0%E4%B8%89&wd=a%20b%26c");
}

TEST(HttpExchange, EveryFailureIsNeterrorAndTheBusyHooksStayPaired) {
    CannedHttpServer notFound(QByteArray("missing"), 404);
    CannedHttpServer serverError(QByteArray("ok"), 500);
    CannedHttpServer redirect(QByteArray("ok"), 302, "Location: http://127.0.0.1:1/\r\n");
    CannedHttpServer silent(std::nullopt);
    const struct {
        const char* what;
        QUrl address;
        ExchangeFailure failure;
    } cases[] = {
        {"nothing listening", cloud_test::closedAddress(), ExchangeFailure::Transport},
        {"HTTP 404", notFound.address(), ExchangeFailure::HttpStatus},
        {"HTTP 500 with the body ok", serverError.address(), ExchangeFailure::HttpStatus},
        {"a redirect", redirect.address(), ExchangeFailure::HttpStatus},
        {"a server that never answers", silent.address(), ExchangeFailure::TimedOut},
    };
    for (const auto& c : cases) {
        BusyCount busy;
        HttpExchange exchange(busy.hooks());
        cloud::shortenTimeLimitForTests(exchange, std::chrono::milliseconds(300));
        EXPECT_EQ(exchange.postHttp(c.address.resolved(QUrl("login.php")), {"nm=a"}), "neterror") << c.what;
        EXPECT_EQ(exchange.lastFailure(), c.failure) << c.what;
        EXPECT_EQ(exchange.get(c.address), std::nullopt) << c.what;
        EXPECT_EQ(busy.begun, 2) << c.what;
        EXPECT_EQ(busy.ended, 2) << c.what;
    }
}

TEST(HttpExchange, AHostileReplyEndsAsNeterrorWithinItsLimits) {
    // 40 bytes, one every 50 ms: always progressing, two seconds in all.
    cloud_test::TricklingHttpServer trickling(QByteArray(40, 'o'), std::chrono::milliseconds(50));
    CannedHttpServer huge(QByteArray(HttpExchange::kReplyLimit + 1, 'x'));
    {
        HttpExchange exchange;
        cloud::shortenTimeLimitForTests(exchange, std::chrono::milliseconds(500));
        EXPECT_EQ(exchange.postHttp(trickling.address().resolved(QUrl("cha.php")), {"nm=a"}), "neterror");
        EXPECT_EQ(exchange.lastFailure(), ExchangeFailure::TimedOut) << "the time is for the whole exchange";
    }
    HttpExchange exchange;
    EXPECT_EQ(exchange.postHttp(huge.address().resolved(QUrl("cha.php")), {"nm=a"}), "neterror");
    EXPECT_EQ(exchange.lastFailure(), ExchangeFailure::TooLarge);
    EXPECT_EQ(exchange.get(huge.address()), std::nullopt);

    // A download has its own limits and goes to the sink as it arrives.
    QBuffer sink;
    sink.open(QIODevice::WriteOnly);
    EXPECT_FALSE(exchange.download(huge.address(), {}, sink, 1024 * 1024, std::chrono::seconds(15)));
    EXPECT_EQ(exchange.lastFailure(), ExchangeFailure::TooLarge);
    QBuffer whole;
    whole.open(QIODevice::WriteOnly);
    EXPECT_TRUE(exchange.download(huge.address(), {}, whole, 2 * HttpExchange::kReplyLimit, std::chrono::seconds(15)));
    EXPECT_EQ(whole.data().size(), HttpExchange::kReplyLimit + 1);
}

TEST(HttpExchange, NoCookieSurvivesFromOneCallToTheNext) {
    CannedHttpServer server(QByteArray("ok"), 200, "Set-Cookie: session=abc; Path=/\r\n");
    HttpExchange exchange;
    EXPECT_EQ(exchange.postHttp(server.address().resolved(QUrl("login.php")), {"nm=a"}), "ok");
    EXPECT_EQ(exchange.postHttp(server.address().resolved(QUrl("cha.php")), {"nm=a"}), "ok");
    ASSERT_EQ(server.requests().size(), 2);
    EXPECT_FALSE(server.requests()[1].toLower().contains("cookie:")) << server.requests()[1].toStdString();
}

}  // namespace
