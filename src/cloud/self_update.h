#pragma once
// The program update offered at login. The new program file is downloaded (straight to a file
// beside the program, within a size and time limit) together with its detached Ed25519 signature (the same address with
// ".sig" appended); the program file is replaced only when the signature is valid under the operator's public key built
// into the program. Otherwise nothing on disk changes.
#include "cloud/cloud_session.h"
#include "cloud/update_signature.h"

#include <QFile>
#include <QString>
#include <chrono>
#include <functional>

#include <optional>
#include "qinglan_build.h"

namespace cloud {

inline const QString kUpdatePath = QStringLiteral("qinglan/down.asp?filename=g.zip");
// This program's version as the case service counts them (the first number of the program's
// version): an update must be newer.
inline constexpr qint64 kProgramVersion = QINGLAN_VERSION_MAJOR;

// A program file under /usr (not /usr/local) was installed by the package manager, which alone
// replaces it: such a program is never updated in place.
bool isUnderPackageManager(const QString& programPath);
// The largest program file taken whatever the manifest says, and the whole time its download may take.
inline constexpr qint64 kUpdateSizeLimit = 512LL * 1024 * 1024;
inline constexpr std::chrono::milliseconds kUpdateTimeLimit{30 * 60 * 1000};

struct UpdateOutcome {
    bool applied = false;  // then start the program again (startProgram) and quit
    QString message;       // what to tell the user either way
};

class SelfUpdate {
public:
    // programPath: the running program file (QCoreApplication::applicationFilePath()).
    SelfUpdate(CloudSession& session, QString programPath, std::optional<UpdateKey> key = builtInUpdateKey())
        : session_(session), programPath_(std::move(programPath)), key_(key) {}

    // Show "正在下载，请等待几分钟" until done gets the outcome (once the download has ended).
    void run(std::function<void(const UpdateOutcome&)> done);
    // Deletes what an earlier update may have left beside the program file (the program name
    // with "2", "3" or "2X" appended); failures are ignored. Called at every login.
    void removeLeftoverCopies() const;
    // Starts the (new) program file on its own; false when it could not be started.
    bool startProgram() const;
    // The running program was installed by the package manager: tell the user, never replace it.
    bool underPackageManager() const { return isUnderPackageManager(programPath_); }

private:
    QString programFile() const;
    QString stagedFile() const { return programFile() + QStringLiteral("2X"); }
    void download(const QUrl& fileAddress, const QByteArray& manifestText,
                  const std::function<void(const UpdateOutcome&)>& done);
    static UpdateOutcome install(QFile& out, const QString& program, const UpdateManifest& manifest,
                                 const ExchangeResult& answer);

    CloudSession& session_;
    QString programPath_;
    std::optional<UpdateKey> key_;
};

}  // namespace cloud
