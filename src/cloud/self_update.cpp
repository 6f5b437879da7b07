#include "cloud/self_update.h"

#include <unistd.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <filesystem>
#include <memory>
#include <system_error>

namespace cloud {
namespace {

const HeaderList& downloadHeaders() {
    static const HeaderList headers{{"User-Agent", "Mozilla/3.0 (compatible; Indy Library)"},
                                    {"Accept", "text/html, */*"}};
    return headers;
}

QString unchanged(const QString& reason) {
    return QCoreApplication::translate("cloud::SelfUpdate", "%1程序未作任何改动。").arg(reason);
}

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

void SelfUpdate::run(std::function<void(const UpdateOutcome&)> done) {
    if (underPackageManager())
        return done({false, unchanged(QCoreApplication::translate("cloud::SelfUpdate",
                                                                  "本程序由系统的软件包管理器安装，请用它升级。"))});
    if (!key_)
        return done({false, unchanged(QCoreApplication::translate("cloud::SelfUpdate",
                                                                  "本程序没有内置升级公钥，不能自动升级。"))});
    const QUrl fileAddress = session_.address(kUpdatePath);
    session_.exchange().get(QUrl(fileAddress.toString() + QStringLiteral(".sig")), downloadHeaders(),
                            [this, fileAddress, done](const ExchangeResult& answer) {
                                if (answer.ok()) return download(fileAddress, answer.body, done);
                                QFile::remove(stagedFile());
                                done({false,
                                      unchanged(answer.failure == ExchangeFailure::Cancelled
                                                    ? QCoreApplication::translate("cloud::SelfUpdate", "升级已取消。")
                                                    : QCoreApplication::translate("cloud::SelfUpdate",
                                                                                  "下载新版本的签名失败。"))});
                            });
}

QString SelfUpdate::programFile() const {
    // Through the link, if the program is started by one: the file itself is replaced.
    const QFileInfo info(programPath_);
    return info.canonicalFilePath().isEmpty() ? programPath_ : info.canonicalFilePath();
}

void SelfUpdate::download(const QUrl& fileAddress, const QByteArray& manifestText,
                          const std::function<void(const UpdateOutcome&)>& done) {
    const QString program = programFile();
    const QString staged = stagedFile();
    const auto refuse = [&done, &staged](const QString& reason) {
        QFile::remove(staged);
        done({false, unchanged(reason)});
    };
    const auto manifest = readSignedManifest(manifestText, *key_);
    if (!manifest)
        return refuse(QCoreApplication::translate("cloud::SelfUpdate", "新版本的签名无效，可能已被篡改，已拒绝安装。"));
    if (manifest->version <= kProgramVersion)
        return refuse(QCoreApplication::translate("cloud::SelfUpdate", "签名的新版本（%1）不比本程序新，已拒绝安装。")
                          .arg(manifest->version));
    if (manifest->size > kUpdateSizeLimit)
        return refuse(QCoreApplication::translate("cloud::SelfUpdate", "新版本过大，已拒绝下载。"));

    // The new program goes straight to a file beside the old one, never whole into memory.
    auto out = std::make_shared<QFile>(staged);
    if (!out->open(QIODevice::ReadWrite | QIODevice::Truncate))
        return refuse(QCoreApplication::translate("cloud::SelfUpdate", "无法写入新版本：%1。").arg(out->errorString()));
    session_.exchange().download(fileAddress, downloadHeaders(), *out, manifest->size, kUpdateTimeLimit,
                                 [out, program, signedFor = *manifest, done](const ExchangeResult& answer) {
                                     done(install(*out, program, signedFor, answer));
                                 });
}

UpdateOutcome SelfUpdate::install(QFile& out, const QString& program, const UpdateManifest& manifest,
                                  const ExchangeResult& answer) {
    const QString staged = out.fileName();
    const auto fail = [&staged, &out](const QString& reason) {
        out.close();
        QFile::remove(staged);
        return UpdateOutcome{false, unchanged(reason)};
    };
    const QString mismatch =
        QCoreApplication::translate("cloud::SelfUpdate", "下载的新版本与签名不符，可能已被篡改，已拒绝安装。");
    if (answer.failure == ExchangeFailure::Cancelled)
        return fail(QCoreApplication::translate("cloud::SelfUpdate", "升级已取消。"));
    if (!answer.ok())
        return fail(answer.failure == ExchangeFailure::TooLarge
                        ? mismatch
                        : QCoreApplication::translate("cloud::SelfUpdate", "下载新版本失败。"));
    if (out.size() == 0) return fail(QCoreApplication::translate("cloud::SelfUpdate", "下载的新版本是空的。"));
    if (!out.flush() || ::fsync(out.handle()) != 0)
        return fail(QCoreApplication::translate("cloud::SelfUpdate", "无法写入新版本：%1。").arg(out.errorString()));
    if (out.size() != manifest.size) return fail(mismatch);
    uchar* mapped = out.map(0, out.size());
    if (!mapped)
        return fail(
            QCoreApplication::translate("cloud::SelfUpdate", "无法读取下载的新版本：%1。").arg(out.errorString()));
    const bool matches = sha256(QByteArray::fromRawData(reinterpret_cast<const char*>(mapped),
                                                        static_cast<qsizetype>(out.size()))) == manifest.sha256;
    out.unmap(mapped);
    out.close();
    if (!matches) return fail(mismatch);
    if (!QFile::setPermissions(staged, QFile::permissions(program)))
        return fail(QCoreApplication::translate("cloud::SelfUpdate", "无法写入新版本：不能设置文件权限。"));
    // One rename puts the new file in place: the running program keeps its old file open, and
    // a crash at any moment leaves either the old or the new program, never a partial one.
    std::error_code renameError;
    std::filesystem::rename(fsPath(staged), fsPath(program), renameError);
    if (renameError)
        return fail(QCoreApplication::translate("cloud::SelfUpdate", "无法写入新版本：%1。")
                        .arg(QString::fromStdString(renameError.message())));
    return {true, QCoreApplication::translate("cloud::SelfUpdate", "升级完成，程序将重新启动。")};
}

void SelfUpdate::removeLeftoverCopies() const {
    for (const char* suffix : {"2", "3", "2X"}) QFile::remove(programPath_ + QLatin1String(suffix));
}

bool SelfUpdate::startProgram() const { return QProcess::startDetached(programPath_, {}); }

}  // namespace cloud
