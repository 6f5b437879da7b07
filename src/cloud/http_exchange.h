#pragma once
// The one HTTP exchange with the case service. Every call uses a fresh client, so no connection
// or cookie survives from one call to the next. It blocks in a local event loop that takes no
// user input, and any failure (no connection, time-out, an HTTP error status, a broken
// transfer, a reply larger than the limit) becomes the reply "neterror". Every exchange has a
// total time, from its start to the last byte, however slowly a service trickles its reply.
#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <chrono>
#include <functional>
#include <optional>
#include <utility>

namespace cloud {

// What the windows hang on every exchange: begin shows the busy cursor, end restores it.
// Either may be empty.
struct BusyHooks {
    std::function<void()> begin;
    std::function<void()> end;
};

// Why the last exchange failed.
enum class ExchangeFailure { None, TimedOut, Transport, HttpStatus, TooLarge };

using HeaderList = QList<std::pair<QByteArray, QByteArray>>;

class HttpExchange {
public:
    // The whole time an exchange may take, from connecting to the last byte of the reply.
    static constexpr std::chrono::milliseconds kTimeLimit{15000};
    // The largest reply body taken from postHttp and get.
    static constexpr qint64 kReplyLimit = 16 * 1024 * 1024;

    explicit HttpExchange(BusyHooks busy = {}) : busy_(std::move(busy)) {}
    void setBusyHooks(BusyHooks busy) { busy_ = std::move(busy); }

    // Posts the fields (each "name=value", unescaped, see encodeFormBody) as
    // application/x-www-form-urlencoded; the reply body decoded as UTF-8, or "neterror".
    QString postHttp(const QUrl& url, const QStringList& fields);
    // GET of a file with these request headers; the body, or none on failure.
    std::optional<QByteArray> get(const QUrl& url, const HeaderList& headers = {});
    // GET written to sink as it arrives, with its own size and time limits; false on failure
    // (the sink may then hold part of the body).
    bool download(const QUrl& url, const HeaderList& headers, QIODevice& sink, qint64 sizeLimit,
                  std::chrono::milliseconds timeLimit);

    ExchangeFailure lastFailure() const { return lastFailure_; }
    // A header of the last successful reply; empty when it had none.
    QByteArray lastReplyHeader(const QByteArray& name) const;

private:
    friend void shortenTimeLimitForTests(HttpExchange& exchange, std::chrono::milliseconds limit);
    // The body goes to sink when given (then the result is empty on success), else is returned.
    std::optional<QByteArray> exchange(const QUrl& url, const HeaderList& headers, const QByteArray* postBody,
                                       QIODevice* sink, qint64 sizeLimit, std::chrono::milliseconds timeLimit);

    BusyHooks busy_;
    std::chrono::milliseconds limit_ = kTimeLimit;
    ExchangeFailure lastFailure_ = ExchangeFailure::None;
    QList<std::pair<QByteArray, QByteArray>> lastHeaders_;
};

}  // namespace cloud
