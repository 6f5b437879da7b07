#include "cloud/device_token_file.h"

#include <QCryptographicHash>
#include <QDir>
#include <QProcessEnvironment>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cloud {
namespace {

constexpr qsizetype kTokenLength = 64;

bool isToken(const QByteArray& text) {
    if (text.size() != kTokenLength) return false;
    for (const char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    return true;
}

// The folder exists, is the user's own directory (not a link) and nobody else may enter it.
bool privateFolder(const QString& folder) {
    if (!QDir().mkpath(folder)) return false;
    const QByteArray path = QFile::encodeName(folder);
    struct stat info {};
    if (::lstat(path.constData(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid()) return false;
    return (info.st_mode & 0777) == 0700 || ::chmod(path.constData(), 0700) == 0;
}

}  // namespace

QString defaultDeviceTokenFolder() {
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const QString xdg = environment.value(QStringLiteral("XDG_DATA_HOME"));
    const QString data = !xdg.isEmpty() && QDir::isAbsolutePath(xdg)
                             ? xdg
                             : QDir(QDir::homePath()).filePath(QStringLiteral(".local/share"));
    return QDir(data).filePath(QStringLiteral("qinglan/login"));
}

DeviceTokenFile::DeviceTokenFile(const QString& folder, const QString& serviceAddress, const QString& userName)
    : folder_(folder) {
    // The name says nothing of the address or the user to whoever lists the folder.
    const QByteArray id =
        QCryptographicHash::hash((serviceAddress + u'\n' + userName).toUtf8(), QCryptographicHash::Sha256)
            .toHex()
            .left(32);
    path_ = QDir(folder).filePath(QStringLiteral("device-") + QString::fromLatin1(id));
}

std::optional<QString> DeviceTokenFile::read() const {
    const int fd = ::open(QFile::encodeName(path_).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat info {};
    QByteArray text(kTokenLength + 2, '\0');
    ssize_t got = -1;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid() && info.st_size <= text.size())
        got = ::read(fd, text.data(), text.size());
    ::close(fd);
    if (got < 0) return std::nullopt;
    text.truncate(got);
    text = text.trimmed();
    if (!isToken(text)) return std::nullopt;
    return QString::fromLatin1(text);
}

bool DeviceTokenFile::write(const QString& token) const {
    if (!privateFolder(folder_)) return false;
    const QByteArray target = QFile::encodeName(path_);
    const QByteArray temporary = target + ".new";
    ::unlink(temporary.constData());
    const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    const QByteArray text = token.toLatin1() + '\n';
    const bool written =
        ::fchmod(fd, 0600) == 0 && ::write(fd, text.constData(), text.size()) == text.size() && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(temporary.constData(), target.constData()) != 0) {
        ::unlink(temporary.constData());
        return false;
    }
    return true;
}

void DeviceTokenFile::remove() const { ::unlink(QFile::encodeName(path_).constData()); }

}  // namespace cloud
