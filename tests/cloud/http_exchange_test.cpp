// The exchange on the wire: what goes out, what comes back, every failure as "neterror", the
// limits of a hostile reply, one client for the session, and a cancel.
#include "cloud/http_exchange.h"
#include "cloud/exchange_test_access.h"
#include "desktop_client.h"
#include "local_services.h"
#include "test_support/qt_printers.h"

#include <gtest/gtest.h>
#include <QBuffer>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>

namespace {

using cloud::ExchangeFailure;
using cloud::ExchangeResult;
using cloud::HttpExchange;
using cloud_test::awaited;
using cloud_test::CannedHttpServer;

ExchangeResult posted(HttpExchange& exchange, const QUrl& url, const QStringList& fields) {
    return awaited<ExchangeResult>(exchange, [&](auto done) { exchange.post(url, fields, done); });
}

ExchangeResult got(HttpExchange& exchange, const QUrl& url) {
    return awaited<ExchangeResult>(exchange, [&](auto done) { exchange.get(url, {}, done); });
}

ExchangeResult downloaded(HttpExchange& exchange, const QUrl& url, QIODevice& sink, qint64 sizeLimit) {
    return awaited<ExchangeResult>(
        exchange, [&](auto done) { exchange.download(url, {}, sink, sizeLimit, std::chrono::seconds(15), done); });
}

TEST(HttpExchange, SendsTheEncodedFormAndReadsTheUtf8Reply) {
    CannedHttpServer server(QByteArray("ok<t>中文回复<t>"));
    HttpExchange exchange;
    const ExchangeResult result = posted(exchange, server.address().resolved(QUrl("cha.php")), {"nm=张三", "wd=a b&c"});
    EXPECT_EQ(result.replyText(), "ok<t>中文回复<t>");
    EXPECT_EQ(result.failure, ExchangeFailure::None);
    ASSERT_EQ(server.requests().size(), 1);
    const QByteArray request = server.requests().first();
    EXPECT_TRUE(request.startsWith("POST /cha.php HTTP/1.1\r\n")) << request.toStdString();
    EXPECT_TRUE(request.toLower().contains("content-type: application/x-www-form-urlencoded\r\n"));
    EXPECT_EQ(cloud_test::bodyOf(request), "nm=%E5%BC%A0%E4%B8%89&wd=a%20b%26c");
}

TEST(HttpExchange, EveryFailureIsNeterrorAndTheBusySignalStaysPaired) {
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
        HttpExchange exchange;
        QSignalSpy busy(&exchange, &HttpExchange::busyChanged);
        cloud::shortenTimeLimitForTests(exchange, std::chrono::milliseconds(300));
        const ExchangeResult result = posted(exchange, c.address.resolved(QUrl("login.php")), {"nm=a"});
        EXPECT_EQ(result.replyText(), "neterror") << c.what;
        EXPECT_EQ(result.failure, c.failure) << c.what;
        EXPECT_FALSE(got(exchange, c.address).ok()) << c.what;
        ASSERT_EQ(busy.count(), 4) << c.what;
        for (int i = 0; i < 4; ++i) EXPECT_EQ(busy[i][0].toBool(), i % 2 == 0) << c.what;
    }
}

TEST(HttpExchange, AHostileReplyEndsAsNeterrorWithinItsLimits) {
    // 40 bytes, one every 50 ms: always progressing, two seconds in all.
    cloud_test::TricklingHttpServer trickling(QByteArray(40, 'o'), std::chrono::milliseconds(50));
    CannedHttpServer huge(QByteArray(HttpExchange::kReplyLimit + 1, 'x'));
    {
        HttpExchange exchange;
        cloud::shortenTimeLimitForTests(exchange, std::chrono::milliseconds(500));
        const ExchangeResult result = posted(exchange, trickling.address().resolved(QUrl("cha.php")), {"nm=a"});
        EXPECT_EQ(result.replyText(), "neterror");
        EXPECT_EQ(result.failure, ExchangeFailure::TimedOut) << "the time is for the whole exchange";
    }
    HttpExchange exchange;
    const ExchangeResult announced = posted(exchange, huge.address().resolved(QUrl("cha.php")), {"nm=a"});
    EXPECT_EQ(announced.replyText(), "neterror");
    EXPECT_EQ(announced.failure, ExchangeFailure::TooLarge);
    EXPECT_EQ(got(exchange, huge.address()).failure, ExchangeFailure::TooLarge);

    // A download has its own limits and goes to the sink as it arrives.
    QBuffer sink;
    sink.open(QIODevice::WriteOnly);
    EXPECT_EQ(downloaded(exchange, huge.address(), sink, 1024 * 1024).failure, ExchangeFailure::TooLarge);
    QBuffer whole;
    whole.open(QIODevice::WriteOnly);
    EXPECT_TRUE(downloaded(exchange, huge.address(), whole, 2 * HttpExchange::kReplyLimit).ok());
    EXPECT_EQ(whole.data().size(), HttpExchange::kReplyLimit + 1);
}

TEST(HttpExchange, AReplyWithoutItsLengthIsGivenUpAsSoonAsItPassesTheLimit) {
    cloud_test::EndlessHttpServer endless;
    HttpExchange exchange;
    const ExchangeResult result = posted(exchange, endless.address().resolved(QUrl("cha.php")), {"nm=a"});
    EXPECT_EQ(result.failure, ExchangeFailure::TooLarge);
    // Read a piece at a time and stopped at the first one past the limit: never much more taken.
    EXPECT_GT(result.received, HttpExchange::kReplyLimit);
    EXPECT_LE(result.received, HttpExchange::kReplyLimit + 64 * 1024) << result.received;
    EXPECT_TRUE(result.body.isEmpty());

    QBuffer sink;
    sink.open(QIODevice::WriteOnly);
    const ExchangeResult download = downloaded(exchange, endless.address(), sink, 2 * 1024 * 1024);
    EXPECT_EQ(download.failure, ExchangeFailure::TooLarge);
    EXPECT_LE(sink.data().size(), 2 * 1024 * 1024);
}

// The resident memory of this process in KiB ("VmRSS"), or its peak since the last reset ("VmHWM").
qint64 residentKiB(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(QByteArray(field) + ':'))
            return line.mid(qstrlen(field) + 1).trimmed().split(' ')[0].toLongLong();
    return -1;
}

TEST(HttpExchange, AChunkedReplyFarBeyondTheLimitIsRefusedWhileItArrives) {
    cloud_test::EndlessHttpServer chunked(cloud_test::EndlessHttpServer::Framing::Chunked);
    HttpExchange exchange;
    // Once before measuring: the network thread's first buffers are not the reply's.
    EXPECT_EQ(posted(exchange, chunked.address().resolved(QUrl("cha.php")), {"nm=a"}).failure,
              ExchangeFailure::TooLarge);
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    const bool peakReset = clearRefs.open(QIODevice::WriteOnly) && clearRefs.write("5") == 1;
    clearRefs.close();
    const qint64 before = residentKiB("VmRSS");
    const ExchangeResult result = posted(exchange, chunked.address().resolved(QUrl("cha.php")), {"nm=a"});
    EXPECT_EQ(result.failure, ExchangeFailure::TooLarge);
    EXPECT_EQ(result.replyText(), "neterror");
    // Taken a read at a time and given up at the first read past the limit.
    EXPECT_GT(result.received, HttpExchange::kReplyLimit);
    EXPECT_LE(result.received, HttpExchange::kReplyLimit + 64 * 1024) << result.received;
    EXPECT_TRUE(result.body.isEmpty());
    // Never the body grown by doubling (three times the limit at its peak) nor the whole reply.
    if (peakReset) {
        EXPECT_LT(residentKiB("VmHWM") - before, 2 * HttpExchange::kReplyLimit / 1024);
    }
}

TEST(HttpExchange, NoCookieSurvivesFromOneCallToTheNext) {
    CannedHttpServer server(QByteArray("ok"), 200, "Set-Cookie: session=abc; Path=/\r\n");
    HttpExchange exchange;
    EXPECT_EQ(posted(exchange, server.address().resolved(QUrl("login.php")), {"nm=a"}).replyText(), "ok");
    EXPECT_EQ(posted(exchange, server.address().resolved(QUrl("cha.php")), {"nm=a"}).replyText(), "ok");
    ASSERT_EQ(server.requests().size(), 2);
    EXPECT_FALSE(server.requests()[1].toLower().contains("cookie:")) << server.requests()[1].toStdString();
}

TEST(HttpExchange, TwoRequestsInFlightGoThroughTheSessionsOneClient) {
    CannedHttpServer first(QByteArray("eins"));
    CannedHttpServer second(QByteArray("zwei"));
    HttpExchange exchange;
    QList<QNetworkReply*> started;
    QObject::connect(&exchange.client(), &QNetworkAccessManager::finished,
                     [&started](QNetworkReply* reply) { started.append(reply); });
    QStringList replies;
    QSignalSpy busy(&exchange, &HttpExchange::busyChanged);
    const auto keep = [&replies](const ExchangeResult& r) { replies.append(r.replyText()); };
    exchange.post(first.address().resolved(QUrl("a.php")), {"nm=a"}, keep);
    exchange.post(second.address().resolved(QUrl("b.php")), {"nm=b"}, keep);
    EXPECT_TRUE(exchange.busy());
    ASSERT_TRUE(busy.wait(15000));  // busy ends only once both have answered
    replies.sort();
    EXPECT_EQ(replies, (QStringList{"eins", "zwei"}));
    EXPECT_EQ(started.size(), 2) << "both replies came from the one client";
    EXPECT_EQ(busy.count(), 2);
    EXPECT_EQ(exchange.findChildren<QNetworkAccessManager*>().size(), 1);
}

TEST(HttpExchange, ACancelEndsEveryRequestInFlightAsCancelled) {
    CannedHttpServer silent(std::nullopt);
    HttpExchange exchange;
    QList<ExchangeFailure> failures;
    QSignalSpy busy(&exchange, &HttpExchange::busyChanged);
    for (const char* path : {"a.php", "b.php"})
        exchange.post(silent.address().resolved(QUrl(path)), {"nm=a"},
                      [&failures](const ExchangeResult& r) { failures.append(r.failure); });
    exchange.cancel();
    EXPECT_EQ(failures, (QList<ExchangeFailure>{ExchangeFailure::Cancelled, ExchangeFailure::Cancelled}));
    EXPECT_FALSE(exchange.busy());
    ASSERT_EQ(busy.count(), 2);
    EXPECT_FALSE(busy[1][0].toBool());
}

}  // namespace
