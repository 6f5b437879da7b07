#include "cloud/self_update.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace cloud {
namespace {

const HeaderList& downloadHeaders() {
    static const HeaderList headers{{"User-Agent", "Mozilla/3.0 (compatible; Indy Library)"},
                                    {"Accept", "text/html, */*"}};
    return headers;
}

QString unchanged(const QString& reason) { return reason + QStringLiteral("程序未作任何改动。"); }

std::filesystem::path fsPath(const QString& path) { return std::filesystem::path(QFile::encodeName(path).toStdString()); }

}  // namespace

UpdateOutcome SelfUpdate::run() {
    if (!key_) return {false, unchanged(QStringLiteral("本程序没有内置升级公钥，不能自动升级。"))};
    const QUrl fileAddress = session_.address(kUpdatePath);
    const auto file = session_.exchange().get(fileAddress, downloadHeaders());
    if (!file) return {false, unchanged(QStringLiteral("下载新版本失败。"))};
    if (file->isEmpty()) return {false, unchanged(QStringLiteral("下载的新版本是空的。"))};
    const auto signature =
        session_.exchange().get(QUrl(fileAddress.toString() + QStringLiteral(".sig")), downloadHeaders());
    if (!signature) return {false, unchanged(QStringLiteral("下载新版本的签名失败。"))};
    if (!signatureValid(*file, *signature, *key_))
        return {false, unchanged(QStringLiteral("新版本的签名无效，可能已被篡改，已拒绝安装。"))};
    const QString error = replaceProgram(*file);
    if (!error.isEmpty()) return {false, unchanged(QStringLiteral("无法写入新版本：") + error + u'。')};
    return {true, QStringLiteral("升级完成，程序将重新启动。")};
}

QString SelfUpdate::replaceProgram(const QByteArray& bytes) const {
    // Through the link, if the program is started by one: the file itself is replaced.
    const QFileInfo info(programPath_);
    const QString program = info.canonicalFilePath().isEmpty() ? programPath_ : info.canonicalFilePath();
    const QString staged = program + QStringLiteral("2X");
    QFile out(staged);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) return out.errorString();
    const bool written = out.write(bytes) == bytes.size() && out.flush() && ::fsync(out.handle()) == 0;
    const QString writeError = out.errorString();
    out.close();
    if (!written || !QFile::setPermissions(staged, QFile::permissions(program))) {
        QFile::remove(staged);
        return writeError;
    }
    // One rename puts the new file in place: the running program keeps its old file open, and
    // a crash at any moment leaves either the old or the new program, never a partial one.
    std::error_code renameError;
    std::filesystem::rename(fsPath(staged), fsPath(program), renameError);
    if (renameError) {
        QFile::remove(staged);
        return QString::fromStdString(renameError.message());
    }
    return QString();
}

void SelfUpdate::removeLeftoverCopies() const {
    for (const char* suffix : {"2", "3", "2X"}) QFile::remove(programPath_ + QLatin1String(suffix));
}

bool SelfUpdate::startProgram() const { return QProcess::startDetached(programPath_, {}); }

}  // namespace cloud
