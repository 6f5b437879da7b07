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

QString HttpExchange::postHttp(const QUrl& url, const QStringList& fields) {
    const QByteArray body = encodeFormBody(fields);
    const auto reply = exchange(url, {}, &body, nullptr, kReplyLimit, limit_);
    return reply ? QString::fromUtf8(*reply) : kNetError;
}

std::optional<QByteArray> HttpExchange::get(const QUrl& url, const HeaderList& headers) {
    return exchange(url, headers, nullptr, nullptr, kReplyLimit, limit_);
}

bool HttpExchange::download(const QUrl& url, const HeaderList& headers, QIODevice& sink, qint64 sizeLimit,
                            std::chrono::milliseconds timeLimit) {
    // A test that shortened the exchange's limit shortens the download's too.
    return exchange(url, headers, nullptr, &sink, sizeLimit, limit_ < kTimeLimit ? limit_ : timeLimit).has_value();
}

QByteArray HttpExchange::lastReplyHeader(const QByteArray& name) const {
    for (const auto& [key, value] : lastHeaders_)
        if (key.compare(name, Qt::CaseInsensitive) == 0) return value;
    return {};
}

std::optional<QByteArray> HttpExchange::exchange(const QUrl& url, const HeaderList& headers, const QByteArray* postBody,
                                                 QIODevice* sink, qint64 sizeLimit,
                                                 std::chrono::milliseconds timeLimit) {
    BusyScope busy(busy_);
    lastHeaders_.clear();
    QNetworkAccessManager client;  // this call's own: its connections and cookies end with it
    QNetworkRequest request(url);
    // A redirect is answered as a failure rather than followed to wherever it points.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    for (const auto& [name, value] : headers) request.setRawHeader(name, value);
    if (postBody)
        request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/x-www-form-urlencoded"));

    QNetworkReply* reply = postBody ? client.post(request, *postBody) : client.get(request);
    // Read as it comes, so that a reply over the limit is never held whole.
    reply->setReadBufferSize(256 * 1024);
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setInterval(timeLimit);
    // Qt reports an abandoned transfer as OperationCanceledError like any other abort, so the
    // time-out and the size limit keep their own flags.
    bool timedOut = false;
    bool tooLarge = false;
    bool sinkFailed = false;
    QByteArray body;
    qint64 received = 0;
    QObject::connect(&deadline, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        reply->abort();
    });
    const auto take = [&] {
        const QByteArray chunk = reply->readAll();
        received += chunk.size();
        if (received > sizeLimit) {
            tooLarge = true;
            reply->abort();
            return;
        }
        if (!sink)
            body += chunk;
        else if (!chunk.isEmpty() && sink->write(chunk) != chunk.size()) {
            sinkFailed = true;
            reply->abort();
        }
    };
    QObject::connect(reply, &QNetworkReply::metaDataChanged, &loop, [&] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > sizeLimit) {
            tooLarge = true;
            reply->abort();
        }
    });
    QObject::connect(reply, &QNetworkReply::readyRead, &loop, take);
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    deadline.start();
    if (!reply->isFinished()) loop.exec(QEventLoop::ExcludeUserInputEvents);
    deadline.stop();
    if (!timedOut && !tooLarge && !sinkFailed) take();

    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (timedOut)
        lastFailure_ = ExchangeFailure::TimedOut;
    else if (tooLarge)
        lastFailure_ = ExchangeFailure::TooLarge;
    else if (status != 0 && (status < 200 || status > 299))
        lastFailure_ = ExchangeFailure::HttpStatus;
    else if (sinkFailed || reply->error() != QNetworkReply::NoError || status == 0)
        lastFailure_ = ExchangeFailure::Transport;
    else
        lastFailure_ = ExchangeFailure::None;
    if (lastFailure_ != ExchangeFailure::None) return std::nullopt;
    lastHeaders_ = reply->rawHeaderPairs();
    return body;
}

}  // namespace cloud
