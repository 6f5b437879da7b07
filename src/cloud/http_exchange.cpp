#include "cloud/http_exchange.h"

#include "cloud/exchange_test_access.h"
#include "cloud/form_encoding.h"
#include "cloud/reply_reading.h"

#include <QNetworkAccessManager>
#include <QNetworkCookieJar>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace cloud {
namespace {

// Nothing identifies a request but its fields: no cookie is ever kept.
class NoCookies : public QNetworkCookieJar {
public:
    using QNetworkCookieJar::QNetworkCookieJar;
    bool setCookiesFromUrl(const QList<QNetworkCookie>&, const QUrl&) override { return false; }
};

// At most this much of a reply waits in the client; the rest stays in the socket.
constexpr qint64 kReadBuffer = 256 * 1024;
// Taken from the client a piece at a time, so the limit is checked at every piece.
constexpr qint64 kReadChunk = 64 * 1024;

// Appends a piece of a reply that stays within sizeLimit. Past its first piece the body gets room
// for the limit at once: grown by doubling it would be copied over and over, and a reply stopped
// at the limit would have held three times that.
void appendWithin(QByteArray& body, const QByteArray& piece, qint64 sizeLimit) {
    if (!body.isEmpty() && body.capacity() - body.size() < piece.size()) body.reserve(sizeLimit);
    body += piece;
}

QNetworkRequest requestOf(const QUrl& url, const HeaderList& headers, std::chrono::milliseconds timeLimit) {
    QNetworkRequest request(url);
    // A redirect is answered as a failure rather than followed to wherever it points.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    // Silence ends a request at once; the total time is watched beside it.
    request.setTransferTimeout(int(timeLimit.count()));
    for (const auto& [name, value] : headers) request.setRawHeader(name, value);
    return request;
}

}  // namespace

struct HttpExchange::Request {
    QIODevice* sink = nullptr;
    qint64 sizeLimit = 0;
    ExchangeDone done;
    ExchangeResult result;
    QTimer* deadline = nullptr;
    // Qt reports every abort as OperationCanceledError, so the reason is kept here.
    ExchangeFailure abortedFor = ExchangeFailure::None;
};

QByteArray ExchangeResult::header(const QByteArray& name) const {
    for (const auto& [key, value] : headers)
        if (key.compare(name, Qt::CaseInsensitive) == 0) return value;
    return {};
}

QString ExchangeResult::replyText() const { return ok() ? QString::fromUtf8(body) : kNetError; }

void shortenTimeLimitForTests(HttpExchange& exchange, std::chrono::milliseconds limit) {
    exchange.limit_ = std::min(limit, HttpExchange::kTimeLimit);
}

HttpExchange::HttpExchange(QObject* parent) : QObject(parent), client_(new QNetworkAccessManager(this)) {
    client_->setCookieJar(new NoCookies(client_));
}

HttpExchange::~HttpExchange() {
    // Nobody waits any more: the callbacks may point at what is being destroyed.
    for (auto it = inFlight_.begin(); it != inFlight_.end(); ++it) {
        it.key()->disconnect(this);
        it.key()->abort();
        delete it.value();
    }
}

void HttpExchange::post(const QUrl& url, const QStringList& fields, ExchangeDone done) {
    QNetworkRequest request = requestOf(url, {}, limit_);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/x-www-form-urlencoded"));
    start(client_->post(request, encodeFormBody(fields)), nullptr, kReplyLimit, limit_, std::move(done));
}

void HttpExchange::get(const QUrl& url, const HeaderList& headers, ExchangeDone done) {
    start(client_->get(requestOf(url, headers, limit_)), nullptr, kReplyLimit, limit_, std::move(done));
}

void HttpExchange::download(const QUrl& url, const HeaderList& headers, QIODevice& sink, qint64 sizeLimit,
                            std::chrono::milliseconds timeLimit, ExchangeDone done) {
    // A test that shortened the exchange's limit shortens the download's too.
    if (limit_ < kTimeLimit) timeLimit = limit_;
    start(client_->get(requestOf(url, headers, timeLimit)), &sink, sizeLimit, timeLimit, std::move(done));
}

void HttpExchange::cancel() {
    const QList<QNetworkReply*> replies = inFlight_.keys();
    for (QNetworkReply* reply : replies) {
        if (Request* request = inFlight_.value(reply); request && request->abortedFor == ExchangeFailure::None) {
            request->abortedFor = ExchangeFailure::Cancelled;
            reply->abort();
        }
    }
}

void HttpExchange::start(QNetworkReply* reply, QIODevice* sink, qint64 sizeLimit, std::chrono::milliseconds timeLimit,
                         ExchangeDone done) {
    auto* request = new Request{sink, sizeLimit, std::move(done), {}, new QTimer(reply), ExchangeFailure::None};
    inFlight_.insert(reply, request);
    // The limit reaches the network thread only once the request has started there. A request with
    // a body starts from the event loop, after this, so the limit is set again once it has: lost,
    // that thread would take all a server sends and hold it, however little is read here.
    reply->setReadBufferSize(kReadBuffer);
    QMetaObject::invokeMethod(reply, [reply] { reply->setReadBufferSize(kReadBuffer); }, Qt::QueuedConnection);

    const auto giveUp = [reply, request](ExchangeFailure why) {
        if (request->abortedFor != ExchangeFailure::None) return;
        request->abortedFor = why;
        reply->abort();  // finished comes at once: request is gone after this
    };
    // Read as it comes, so that a reply over the limit is never held whole.
    connect(reply, &QNetworkReply::readyRead, this, [reply, request, giveUp] {
        while (reply->bytesAvailable() > 0 && request->abortedFor == ExchangeFailure::None) {
            const QByteArray chunk = reply->read(kReadChunk);
            request->result.received += chunk.size();
            if (request->result.received > request->sizeLimit) return giveUp(ExchangeFailure::TooLarge);
            if (!request->sink)
                appendWithin(request->result.body, chunk, request->sizeLimit);
            else if (request->sink->write(chunk) != chunk.size())
                return giveUp(ExchangeFailure::Transport);
        }
    });
    connect(reply, &QNetworkReply::metaDataChanged, this, [reply, request, giveUp] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > request->sizeLimit) giveUp(ExchangeFailure::TooLarge);
    });
    connect(reply, &QNetworkReply::downloadProgress, this, [request, giveUp](qint64 received, qint64) {
        if (received > request->sizeLimit) giveUp(ExchangeFailure::TooLarge);
    });
    request->deadline->setSingleShot(true);
    connect(request->deadline, &QTimer::timeout, this, [giveUp] { giveUp(ExchangeFailure::TimedOut); });
    request->deadline->start(timeLimit);
    connect(reply, &QNetworkReply::finished, this, [this, reply] { finish(reply); });
    reportBusy();
}

void HttpExchange::finish(QNetworkReply* reply) {
    Request* request = inFlight_.take(reply);
    if (!request) return;
    reply->disconnect(this);
    delete request->deadline;
    reply->deleteLater();
    ExchangeResult& result = request->result;
    if (request->abortedFor == ExchangeFailure::None) {
        const QByteArray rest = reply->readAll();
        result.received += rest.size();
        if (result.received > request->sizeLimit)
            request->abortedFor = ExchangeFailure::TooLarge;
        else if (!request->sink)
            appendWithin(result.body, rest, request->sizeLimit);
        else if (!rest.isEmpty() && request->sink->write(rest) != rest.size())
            request->abortedFor = ExchangeFailure::Transport;
    }
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (request->abortedFor != ExchangeFailure::None)
        result.failure = request->abortedFor;
    else if (reply->error() == QNetworkReply::TimeoutError)
        result.failure = ExchangeFailure::TimedOut;
    else if (status != 0 && (status < 200 || status > 299))
        result.failure = ExchangeFailure::HttpStatus;
    else if (reply->error() != QNetworkReply::NoError || status == 0)
        result.failure = ExchangeFailure::Transport;
    if (result.ok())
        result.headers = reply->rawHeaderPairs();
    else
        result.body.clear();
    const ExchangeDone done = std::move(request->done);
    const ExchangeResult outcome = std::move(result);
    delete request;
    // The windows take input again before the answer is shown.
    reportBusy();
    if (done) done(outcome);
}

void HttpExchange::reportBusy() {
    if (busy() == reportedBusy_) return;
    reportedBusy_ = busy();
    emit busyChanged(reportedBusy_);
}

}  // namespace cloud
