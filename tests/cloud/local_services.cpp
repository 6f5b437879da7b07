#include "local_services.h"

#include <QRegularExpression>
#include <QTcpSocket>
#include <QTimer>
#include <QtGlobal>
#include <csignal>

namespace cloud_test {

ServiceProcess::ServiceProcess(const QStringList& extraArguments) {
    process_.setProcessChannelMode(QProcess::SeparateChannels);
    process_.start(QStringLiteral(CASESERVICE_BINARY), QStringList{"--listen", "127.0.0.1:0", "--db", databaseFile(),
                                                                   "--pwhash-limits", "minimum", "--threads", "4"} +
                                                           extraArguments);
    static const QRegularExpression announced(QStringLiteral("http://127\\.0\\.0\\.1:(\\d+)/"));
    QByteArray said;
    while (process_.waitForReadyRead(10000)) {
        said += process_.readAllStandardOutput();
        const auto match = announced.match(QString::fromUtf8(said));
        if (match.hasMatch()) {
            address_ = QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(match.captured(1)));
            return;
        }
    }
    // The address stays empty: every exchange then fails, and so does the test.
    qWarning("the case service did not start: %s", process_.readAllStandardError().constData());
}

ServiceProcess::~ServiceProcess() { stop(); }

void ServiceProcess::pause() { ::kill(pid_t(process_.processId()), SIGSTOP); }

void ServiceProcess::resume() { ::kill(pid_t(process_.processId()), SIGCONT); }

void ServiceProcess::stop() {
    if (process_.state() == QProcess::NotRunning) return;
    resume();
    process_.terminate();
    if (!process_.waitForFinished(10000)) process_.kill();
    process_.waitForFinished();
}

CannedHttpServer::CannedHttpServer(std::optional<QByteArray> body, int status, QByteArray extraHeaders)
    : body_(std::move(body)), status_(status), extraHeaders_(std::move(extraHeaders)) {
    server_.listen(QHostAddress::LocalHost, 0);
    QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            const int index = static_cast<int>(requests_.size());
            requests_.append(QByteArray());
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, index] {
                QByteArray& request = requests_[index];
                request += socket->readAll();
                const qsizetype headEnd = request.indexOf("\r\n\r\n");
                if (headEnd < 0 || !body_) return;
                static const QRegularExpression lengthHeader(QStringLiteral("(?i)content-length:\\s*(\\d+)"));
                const auto length = lengthHeader.match(QString::fromLatin1(request.left(headEnd)));
                if (request.size() - headEnd - 4 < (length.hasMatch() ? length.captured(1).toLongLong() : 0)) return;
                socket->write("HTTP/1.1 " + QByteArray::number(status_) + " Canned\r\n" + extraHeaders_ +
                              "Content-Type: text/plain; charset=utf-8\r\nContent-Length: " +
                              QByteArray::number(body_->size()) + "\r\nConnection: close\r\n\r\n" + *body_);
                socket->disconnectFromHost();
            });
        }
    });
}

QUrl CannedHttpServer::address() const {
    return QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(server_.serverPort()));
}

TricklingHttpServer::TricklingHttpServer(QByteArray body, std::chrono::milliseconds perByte)
    : body_(std::move(body)), perByte_(perByte) {
    server_.listen(QHostAddress::LocalHost, 0);
    QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            socket->write("HTTP/1.1 200 Slow\r\nContent-Type: text/plain\r\nContent-Length: " +
                          QByteArray::number(body_.size()) + "\r\nConnection: close\r\n\r\n");
            auto* timer = new QTimer(socket);
            auto* sent = new qsizetype(0);
            QObject::connect(socket, &QObject::destroyed, [sent] { delete sent; });
            QObject::connect(timer, &QTimer::timeout, socket, [this, socket, timer, sent] {
                if (*sent >= body_.size()) {
                    timer->stop();
                    socket->disconnectFromHost();
                    return;
                }
                socket->write(body_.mid((*sent)++, 1));
            });
            timer->start(perByte_);
        }
    });
}

QUrl TricklingHttpServer::address() const {
    return QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(server_.serverPort()));
}

EndlessHttpServer::EndlessHttpServer(Framing framing) {
    server_.listen(QHostAddress::LocalHost, 0);
    QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this, framing] {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            const QByteArray data(64 * 1024, 'x');
            const QByteArray block = framing == Framing::Chunked ? "10000\r\n" + data + "\r\n" : data;
            socket->write(framing == Framing::Chunked
                              ? "HTTP/1.1 200 Endless\r\nContent-Type: text/plain\r\nTransfer-Encoding: chunked\r\n\r\n"
                              : "HTTP/1.1 200 Endless\r\nContent-Type: text/plain\r\nConnection: close\r\n\r\n");
            socket->write(block);
            // A new block only when the last one has left: the client's reading sets the pace.
            QObject::connect(socket, &QTcpSocket::bytesWritten, socket, [socket, block] {
                if (socket->bytesToWrite() == 0) socket->write(block);
            });
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

QUrl EndlessHttpServer::address() const {
    return QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(server_.serverPort()));
}

QUrl closedAddress() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(port));
}

}  // namespace cloud_test
