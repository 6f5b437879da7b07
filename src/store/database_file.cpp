#include "store/database_file.h"

#include "store/database_error.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <thread>

namespace store {
namespace {

const QString kCreationTag = QStringLiteral(".creating-");

QString systemError() { return QString::fromLocal8Bit(std::strerror(errno)); }

quint32 bigEndian32(const QByteArray& bytes, int at) {
    quint32 value = 0;
    for (int i = 0; i < 4; ++i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

bool processRuns(qint64 pid) { return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH); }

}  // namespace

FileHeader readFileHeader(const QString& path) {
    FileHeader header;
    QFile file(path);
    if (!file.exists()) return header;
    if (!file.open(QIODevice::ReadOnly)) {
        header.kind = FileHeader::Kind::Unreadable;
        header.error = file.errorString();
        return header;
    }
    const QByteArray bytes = file.read(100);
    if (bytes.isEmpty() && file.size() == 0) {
        header.kind = FileHeader::Kind::Empty;
        return header;
    }
    if (bytes.size() < 100 || !bytes.startsWith(QByteArrayLiteral("SQLite format 3\0"))) {
        header.kind = FileHeader::Kind::NotSqlite;
        return header;
    }
    header.kind = FileHeader::Kind::Sqlite;
    header.walMode = bytes[18] == 2 || bytes[19] == 2;
    header.userVersion = bigEndian32(bytes, 60);
    header.applicationId = bigEndian32(bytes, 68);
    return header;
}

QString creationFilePath(const QString& path) { return path + kCreationTag + QString::number(::getpid()); }

void removeStaleCreationFiles(const QString& path) {
    const QFileInfo info(path);
    QDir folder = info.absoluteDir();
    const QString prefix = info.fileName() + kCreationTag;
    const QStringList names = folder.entryList(
        {prefix + u'*'}, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        // "<name>.creating-<pid>" or its "-journal" (a folder for the note folder)
        const QString rest = name.mid(prefix.size()).section(u'-', 0, 0);
        bool isNumber = false;
        const qint64 pid = rest.toLongLong(&isNumber);
        if (!isNumber || pid == ::getpid() || processRuns(pid)) continue;
        if (QFileInfo(folder.filePath(name)).isDir() && !QFileInfo(folder.filePath(name)).isSymLink())
            QDir(folder.filePath(name)).removeRecursively();
        else
            folder.remove(name);
    }
}

bool renameIfAbsent(const QString& from, const QString& to) {
    const QByteArray source = QFile::encodeName(from), target = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0) return true;
    if (errno == EEXIST) return false;
    if (errno != EINVAL && errno != ENOSYS)
        throw DatabaseError(
            QCoreApplication::translate("store::DatabaseFile", "无法把 %1 移到 %2：%3").arg(from, to, systemError()));
    // The file system has no exclusive rename: a hard link fails just as well when `to` exists.
    if (::link(source.constData(), target.constData()) != 0) {
        if (errno == EEXIST) return false;
        throw DatabaseError(
            QCoreApplication::translate("store::DatabaseFile", "无法把 %1 移到 %2：%3").arg(from, to, systemError()));
    }
    ::unlink(source.constData());
    return true;
}

void renameOver(const QString& from, const QString& to) {
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        throw DatabaseError(
            QCoreApplication::translate("store::DatabaseFile", "无法把 %1 移到 %2：%3").arg(from, to, systemError()));
}

void exchangePaths(const QString& a, const QString& b) {
    const QByteArray first = QFile::encodeName(a), second = QFile::encodeName(b);
    if (::renameat2(AT_FDCWD, first.constData(), AT_FDCWD, second.constData(), RENAME_EXCHANGE) == 0) return;
    if (errno != EINVAL && errno != ENOSYS)
        throw DatabaseError(
            QCoreApplication::translate("store::DatabaseFile", "无法交换 %1 和 %2：%3").arg(a, b, systemError()));
    // The file system cannot exchange in one step: two renames through a third name.
    const QString aside = a + QStringLiteral(".exchanging");
    renameOver(a, aside);
    renameOver(b, a);
    renameOver(aside, b);
}

void keepCopy(const QString& from, const QString& to) {
    if (::link(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0) return;
    if (errno == EEXIST || !QFile::copy(from, to))
        throw DatabaseError(QCoreApplication::translate("store::DatabaseFile", "无法把 %1 复制为 %2").arg(from, to));
    syncPath(to);
}

void syncPath(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    const int result = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    if (result != 0 && error != EINVAL)  // some file systems cannot sync a folder
        throw DatabaseError(QCoreApplication::translate("store::DatabaseFile", "无法把 %1 写到磁盘：%2")
                                .arg(path, QString::fromLocal8Bit(std::strerror(error))),
                            error == ENOSPC ? DatabaseProblem::DiskFull : DatabaseProblem::Other);
}

bool UseLock::acquire(const QString& databasePath, Kind kind, int timeoutMs) {
    const QByteArray lockPath = QFile::encodeName(databasePath + QStringLiteral(".lock"));
    fd_ = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0) fd_ = ::open(lockPath.constData(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) return true;
    const int operation = (kind == Kind::Shared ? LOCK_SH : LOCK_EX) | LOCK_NB;
    for (int waited = 0;; waited += 20) {
        if (::flock(fd_, operation) == 0) return true;
        if (errno != EWOULDBLOCK && errno != EINTR) return true;  // a file system without locks
        if (waited >= timeoutMs) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

void UseLock::release() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

UseLock::~UseLock() { release(); }

bool canWrite(const QString& path) { return ::access(QFile::encodeName(path).constData(), W_OK) == 0; }

}  // namespace store
