#pragma once
// The HTTP exchange with the case service. One network client serves the whole session (its
// connections are reused; cookies are neither sent nor kept), and every request is answered
// asynchronously: the callback gets the result once the reply is in, cancelled or given up. Any
// failure (no connection, time-out, an HTTP error status, a broken transfer, a reply larger than
// the limit) makes the reply of post "neterror". Every request has a total time, from its start
// to the last byte, however slowly a service trickles its reply, and a reply is given up as soon
// as it passes its size limit, whether or not it announced its length.
#include <QByteArray>
#include <QHash>
#include <QIODevice>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <chrono>
#include <functional>
#include <utility>

class QNetworkAccessManager;
class QNetworkReply;

namespace cloud {

// Why a request failed.
enum class ExchangeFailure { None, TimedOut, Transport, HttpStatus, TooLarge, Cancelled };

using HeaderList = QList<std::pair<QByteArray, QByteArray>>;

struct ExchangeResult {
    ExchangeFailure failure = ExchangeFailure::None;
    QByteArray body;      // empty when the body went to a sink
    HeaderList headers;   // of a successful reply
    qint64 received = 0;  // body bytes taken from the network, also of a reply given up

    bool ok() const { return failure == ExchangeFailure::None; }
    // A header of the reply; empty when it had none.
    QByteArray header(const QByteArray& name) const;
    // The body as the case service's reply text: UTF-8, or "neterror" on any failure.
    QString replyText() const;
};

using ExchangeDone = std::function<void(const ExchangeResult&)>;

class HttpExchange : public QObject {
    Q_OBJECT
public:
    // The whole time a request may take, from connecting to the last byte of the reply.
    static constexpr std::chrono::milliseconds kTimeLimit{15000};
    // The largest reply body taken from post and get.
    static constexpr qint64 kReplyLimit = 16 * 1024 * 1024;

    explicit HttpExchange(QObject* parent = nullptr);
    ~HttpExchange() override;

    // Posts the fields (each "name=value", unescaped, see encodeFormBody) as
    // application/x-www-form-urlencoded.
    void post(const QUrl& url, const QStringList& fields, ExchangeDone done);
    // GET with these request headers; the body in the result.
    void get(const QUrl& url, const HeaderList& headers, ExchangeDone done);
    // GET written to sink as it arrives, with its own size and time limits (the sink may hold
    // part of the body after a failure). The sink must outlive the request.
    void download(const QUrl& url, const HeaderList& headers, QIODevice& sink, qint64 sizeLimit,
                  std::chrono::milliseconds timeLimit, ExchangeDone done);

    // Gives up every request in flight; each callback gets ExchangeFailure::Cancelled.
    void cancel();
    bool busy() const { return !inFlight_.isEmpty(); }
    // The one client every request of the session goes through.
    const QNetworkAccessManager& client() const { return *client_; }

signals:
    // True when the first request starts, false when the last one has ended (before its callback).
    void busyChanged(bool busy);

private:
    struct Request;
    friend void shortenTimeLimitForTests(HttpExchange& exchange, std::chrono::milliseconds limit);
    void start(QNetworkReply* reply, QIODevice* sink, qint64 sizeLimit, std::chrono::milliseconds timeLimit,
               ExchangeDone done);
    void finish(QNetworkReply* reply);
    void reportBusy();

    QNetworkAccessManager* client_;
    std::chrono::milliseconds limit_ = kTimeLimit;
    QHash<QNetworkReply*, Request*> inFlight_;
    bool reportedBusy_ = false;
};

}  // namespace cloud
