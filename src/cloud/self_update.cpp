#include "cloud/self_update.h"

#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <filesystem>
#include <system_error>

namespace cloud {
namespace {

const HeaderList& downloadHeaders() {
    static const HeaderList headers{{"User-Agent", "Mozilla/3.0 (compatible; Indy Library)"},
                                    {"Accept", "text/html, */*"}};
    return headers;
}

QString unchanged(const QString& reason) { return reason + QStringLiteral("程序未作任何改动。"); }

std::filesystem::path fsPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

}  // namespace

bool isUnderPackageManager(const QString& programPath) {
    const QFileInfo info(programPath);
    const QString path =
        info.canonicalFilePath().isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : info.canonicalFilePath();
    return path.startsWith(QStringLiteral("/usr/")) && !path.startsWith(QStringLiteral("/usr/local/"));
}

UpdateOutcome SelfUpdate::run() {
    if (underPackageManager())
        return {false, unchanged(QStringLiteral("本程序由系统的软件包管理器安装，请用它升级。"))};
    if (!key_) return {false, unchanged(QStringLiteral("本程序没有内置升级公钥，不能自动升级。"))};
    // Through the link, if the program is started by one: the file itself is replaced.
    const QFileInfo info(programPath_);
    const QString program = info.canonicalFilePath().isEmpty() ? programPath_ : info.canonicalFilePath();
    const QString staged = program + QStringLiteral("2X");
    const auto fail = [&staged](const QString& reason) {
        QFile::remove(staged);
        return UpdateOutcome{false, unchanged(reason)};
    };

    const QUrl fileAddress = session_.address(kUpdatePath);
    const auto manifestText =
        session_.exchange().get(QUrl(fileAddress.toString() + QStringLiteral(".sig")), downloadHeaders());
    if (!manifestText) return fail(QStringLiteral("下载新版本的签名失败。"));
    const auto manifest = readSignedManifest(*manifestText, *key_);
    if (!manifest) return fail(QStringLiteral("新版本的签名无效，可能已被篡改，已拒绝安装。"));
    if (manifest->version <= kProgramVersion)
        return fail(QStringLiteral("签名的新版本（") + QString::number(manifest->version) +
                    QStringLiteral("）不比本程序新，已拒绝安装。"));
    if (manifest->size > kUpdateSizeLimit) return fail(QStringLiteral("新版本过大，已拒绝下载。"));

    // The new program goes straight to a file beside the old one, never whole into memory.
    QFile out(staged);
    if (!out.open(QIODevice::ReadWrite | QIODevice::Truncate))
        return fail(QStringLiteral("无法写入新版本：") + out.errorString() + u'。');
    const bool downloaded =
        session_.exchange().download(fileAddress, downloadHeaders(), out, manifest->size, kUpdateTimeLimit);
    const QString mismatch = QStringLiteral("下载的新版本与签名不符，可能已被篡改，已拒绝安装。");
    if (!downloaded)
        return fail(session_.exchange().lastFailure() == ExchangeFailure::TooLarge
                        ? mismatch
                        : QStringLiteral("下载新版本失败。"));
    if (out.size() == 0) return fail(QStringLiteral("下载的新版本是空的。"));
    if (!out.flush() || ::fsync(out.handle()) != 0)
        return fail(QStringLiteral("无法写入新版本：") + out.errorString() + u'。');
    if (out.size() != manifest->size) return fail(mismatch);
    uchar* mapped = out.map(0, out.size());
    if (!mapped) return fail(QStringLiteral("无法读取下载的新版本：") + out.errorString() + u'。');
    const bool matches = sha256(QByteArray::fromRawData(reinterpret_cast<const char*>(mapped),
                                                        static_cast<qsizetype>(out.size()))) == manifest->sha256;
    out.unmap(mapped);
    out.close();
    if (!matches) return fail(mismatch);
    if (!QFile::setPermissions(staged, QFile::permissions(program)))
        return fail(QStringLiteral("无法写入新版本：不能设置文件权限。"));
    // One rename puts the new file in place: the running program keeps its old file open, and
    // a crash at any moment leaves either the old or the new program, never a partial one.
    std::error_code renameError;
    std::filesystem::rename(fsPath(staged), fsPath(program), renameError);
    if (renameError)
        return fail(QStringLiteral("无法写入新版本：") + QString::fromStdString(renameError.message()) + u'。');
    return {true, QStringLiteral("升级完成，程序将重新启动。")};
}

void SelfUpdate::removeLeftoverCopies() const {
    for (const char* suffix : {"2", "3", "2X"}) QFile::remove(programPath_ + QLatin1String(suffix));
}

bool SelfUpdate::startProgram() const { return QProcess::startDetached(programPath_, {}); }

}  // namespace cloud
