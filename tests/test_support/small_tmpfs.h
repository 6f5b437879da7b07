#pragma once
// A small RAM file system mounted on a temporary folder, to meet a full disk or a read-only
// file system with real files. Mounting needs the right to mount (root in a container, or CI
// with CAP_SYS_ADMIN); otherwise mounted() is false and reason() says why, for GTEST_SKIP.
#include <sys/mount.h>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>

namespace test_support {

class SmallTmpfs {
public:
    explicit SmallTmpfs(const char* size) {
        const QByteArray options = QByteArray("size=") + size;
        if (::mount("qinglan-test", QFile::encodeName(dir_.path()).constData(), "tmpfs", 0, options.constData()) == 0)
            mounted_ = true;
        else
            reason_ = QStringLiteral("cannot mount a tmpfs (needs the right to mount): ") +
                      QString::fromLocal8Bit(std::strerror(errno));
    }
    ~SmallTmpfs() {
        if (mounted_) ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
    }
    SmallTmpfs(const SmallTmpfs&) = delete;
    SmallTmpfs& operator=(const SmallTmpfs&) = delete;

    bool mounted() const { return mounted_; }
    const QString& reason() const { return reason_; }
    QString path() const { return dir_.path(); }
    QString filePath(const QString& name) const { return dir_.filePath(name); }

    // Makes the file system read-only (for every user, root included).
    bool remountReadOnly() {
        return ::mount("qinglan-test", QFile::encodeName(dir_.path()).constData(), "tmpfs", MS_REMOUNT | MS_RDONLY,
                       nullptr) == 0;
    }

    // Fills the free space with a file "filler" until the disk is full; returns its path.
    QString fill() {
        const QString path = dir_.filePath(QStringLiteral("filler"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) return path;
        const QByteArray block(4096, 'x');
        while (file.write(block) == block.size()) {
        }
        file.write(QByteArray(1, 'x'));  // the last partial block
        while (file.write(QByteArray(1, 'x')) == 1) {
        }
        return path;
    }

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
    QString reason_;
};

}  // namespace test_support
