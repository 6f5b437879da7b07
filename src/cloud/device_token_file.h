#pragma once
// Where no keyring answers, the device's refresh token of "记住用户名和密码" is kept in a file of
// its own: one per service address and user name, in a folder only the user may open (0700),
// the file readable by the user alone (0600), never in the program's database (which a portable
// install may share). The token is worth nothing for a password login, and the service can
// end it; still nobody else should read it.
#include <QString>
#include <optional>

namespace cloud {

// "qinglan/login" in the user's data folder ($XDG_DATA_HOME when absolute, else ~/.local/share).
QString defaultDeviceTokenFolder();

class DeviceTokenFile {
public:
    DeviceTokenFile(const QString& folder, const QString& serviceAddress, const QString& userName);

    // The token; nullopt when there is none, or the file is not a plain file of this user's
    // holding one token.
    std::optional<QString> read() const;
    // Writes the whole file or nothing; false when the folder or file cannot be made private.
    bool write(const QString& token) const;
    void remove() const;
    const QString& path() const { return path_; }

private:
    QString folder_;
    QString path_;
};

}  // namespace cloud
