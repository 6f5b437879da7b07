#include "cloud/http_exchange.h"

#include "cloud/exchange_test_access.h"
#include "cloud/form_encoding.h"
#include "cloud/reply_reading.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace cloud {
namespace {

class BusyScope {
public:
    explicit BusyScope(const BusyHooks& hooks) : hooks_(hooks) {
        if (hooks_.begin) hooks_.begin();
    }
    ~BusyScope() {
        if (hooks_.end) hooks_.end();
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    const BusyHooks& hooks_;
};

}  // namespace

void shortenTimeLimitForTests(HttpExchange& exchange, std::chrono::milliseconds limit) {
    exchange.limit_ = std::min(limit, HttpExchange::kTimeLimit);
}

QString HttpExchange::post_http(const QUrl& url, const QStringList& fields) {
    const QByteArray body = encodeFormBody(fields);
    const auto reply = exchange(url, {}, &body);
    return reply ? QString::fromUtf8(*reply) : kNetError;
}

std::optional<QByteArray> HttpExchange::get(const QUrl& url, const HeaderList& headers) {
    return exchange(url, headers, nullptr);
}

std::optional<QByteArray> HttpExchange::exchange(const QUrl& url, const HeaderList& headers,
                                                 const QByteArray* postBody) {
    BusyScope busy(busy_);
    QNetworkAccessManager client;  // this call's own: its connections and cookies end with it
    QNetworkRequest request(url);
    // A redirect is answered as a failure rather than followed to wherever it points.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    for (const auto& [name, value] : headers) request.setRawHeader(name, value);
    if (postBody)
        request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/x-www-form-urlencoded"));

    QNetworkReply* reply = postBody ? client.post(request, *postBody) : client.get(request);
    QEventLoop loop;
    QTimer stall;
    stall.setSingleShot(true);
    stall.setInterval(limit_);
    // Qt reports an abandoned transfer as OperationCanceledError like any other abort, so the
    // time-out keeps its own flag.
    bool timedOut = false;
    QObject::connect(&stall, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        reply->abort();
    });
    const auto progressed = [&stall] { stall.start(); };
    QObject::connect(reply, &QNetworkReply::uploadProgress, &stall, progressed);
    QObject::connect(reply, &QNetworkReply::downloadProgress, &stall, progressed);
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    stall.start();
    if (!reply->isFinished()) loop.exec(QEventLoop::ExcludeUserInputEvents);
    stall.stop();

    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (timedOut)
        lastFailure_ = ExchangeFailure::timedOut;
    else if (status != 0 && (status < 200 || status > 299))
        lastFailure_ = ExchangeFailure::httpStatus;
    else if (reply->error() != QNetworkReply::NoError || status == 0)
        lastFailure_ = ExchangeFailure::transport;
    else
        lastFailure_ = ExchangeFailure::none;
    if (lastFailure_ != ExchangeFailure::none) return std::nullopt;
    return reply->readAll();
}

}  // namespace cloud
