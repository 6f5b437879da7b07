#pragma once
// The one HTTP exchange with the case service. Every call uses a fresh client, so no connection
// or cookie survives from one call to the next. It blocks in a local event loop that takes no
// user input, and any failure (no connection, time-out, an HTTP error status, a broken
// transfer) becomes the reply "neterror".
#include <QByteArray>
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
enum class ExchangeFailure { none, timedOut, transport, httpStatus };

using HeaderList = QList<std::pair<QByteArray, QByteArray>>;

class HttpExchange {
public:
    // The limit for connecting and for each wait on the reply: an exchange that makes no
    // progress for this long is abandoned.
    static constexpr std::chrono::milliseconds kTimeLimit{15000};

    explicit HttpExchange(BusyHooks busy = {}) : busy_(std::move(busy)) {}
    void setBusyHooks(BusyHooks busy) { busy_ = std::move(busy); }

    // Posts the fields (each "name=value", unescaped, see encodeFormBody) as
    // application/x-www-form-urlencoded; the reply body decoded as UTF-8, or "neterror".
    QString post_http(const QUrl& url, const QStringList& fields);
    // GET of a file with these request headers; the body, or none on failure.
    std::optional<QByteArray> get(const QUrl& url, const HeaderList& headers = {});

    ExchangeFailure lastFailure() const { return lastFailure_; }

private:
    friend void shortenTimeLimitForTests(HttpExchange& exchange, std::chrono::milliseconds limit);
    std::optional<QByteArray> exchange(const QUrl& url, const HeaderList& headers, const QByteArray* postBody);

    BusyHooks busy_;
    std::chrono::milliseconds limit_ = kTimeLimit;
    ExchangeFailure lastFailure_ = ExchangeFailure::none;
};

}  // namespace cloud
