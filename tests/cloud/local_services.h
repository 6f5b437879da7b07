#pragma once
// What the cloud tests talk to, all on 127.0.0.1: the real case service as its own process over
// a fresh database, and a small HTTP server that gives one fixed answer (or none at all) for
// replies the real service never sends.
#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QStringList>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QUrl>
#include <chrono>
#include <optional>

namespace cloud_test {

class ServiceProcess {
public:
    explicit ServiceProcess(const QStringList& extraArguments = {});
    ~ServiceProcess();
    ServiceProcess(const ServiceProcess&) = delete;
    ServiceProcess& operator=(const ServiceProcess&) = delete;

    QUrl address() const { return address_; }
    QString databaseFile() const { return dir_.filePath(QStringLiteral("cases.db")); }
    QString folder() const { return dir_.path(); }
    void stop();
    // Holds the service still (SIGSTOP): it takes connections but answers nothing until resumed.
    void pause();
    void resume();

private:
    QTemporaryDir dir_;
    QProcess process_;
    QUrl address_;
};

// Answers every request with status and body; with no body it accepts and never answers.
class CannedHttpServer {
public:
    explicit CannedHttpServer(std::optional<QByteArray> body, int status = 200, QByteArray extraHeaders = {});
    QUrl address() const;
    // The raw requests received so far (head and body).
    const QList<QByteArray>& requests() const { return requests_; }

private:
    QTcpServer server_;
    std::optional<QByteArray> body_;
    int status_;
    QByteArray extraHeaders_;
    QList<QByteArray> requests_;
};

// Answers every request with status 200 and the body, written one byte per interval (a
// reply that always makes progress but never seems to end).
class TricklingHttpServer {
public:
    TricklingHttpServer(QByteArray body, std::chrono::milliseconds perByte);
    QUrl address() const;

private:
    QTcpServer server_;
    QByteArray body_;
    std::chrono::milliseconds perByte_;
};

// Answers every request with status 200 and no Content-Length, then writes blocks of 'x' as
// fast as the client takes them until it hangs up: a reply whose size shows only as it comes.
// Chunked, each block is one chunk of a "Transfer-Encoding: chunked" reply; else the reply ends
// with the connection.
class EndlessHttpServer {
public:
    enum class Framing { UntilClose, Chunked };
    explicit EndlessHttpServer(Framing framing = Framing::UntilClose);
    QUrl address() const;

private:
    QTcpServer server_;
};

// An address on 127.0.0.1 where nothing listens.
QUrl closedAddress();

}  // namespace cloud_test

namespace cloud_test {
// The body of a raw request (after the blank line).
inline QByteArray bodyOf(const QByteArray& request) { return request.mid(request.indexOf("\r\n\r\n") + 4); }
}  // namespace cloud_test
