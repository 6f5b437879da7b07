#include "cloud/update_signature.h"

#include <sodium.h>
#include <QList>
#include <QString>

namespace cloud {

std::optional<UpdateKey> parseUpdateKey(QStringView hex) {
    if (hex.size() != 2 * static_cast<qsizetype>(UpdateKey().size())) return std::nullopt;
    UpdateKey key{};
    for (std::size_t i = 0; i < key.size(); ++i) {
        bool ok = false;
        key[i] = static_cast<unsigned char>(hex.mid(2 * static_cast<qsizetype>(i), 2).toUInt(&ok, 16));
        if (!ok) return std::nullopt;
    }
    return key;
}

std::optional<UpdateKey> builtInUpdateKey() { return parseUpdateKey(QStringLiteral(QINGLAN_UPDATE_PUBLIC_KEY)); }

bool signatureValid(const QByteArray& file, const QByteArray& signature, const UpdateKey& key) {
    static_assert(std::tuple_size_v<UpdateKey> == crypto_sign_PUBLICKEYBYTES);
    if (sodium_init() < 0 || signature.size() != crypto_sign_BYTES) return false;
    return crypto_sign_verify_detached(reinterpret_cast<const unsigned char*>(signature.constData()),
                                       reinterpret_cast<const unsigned char*>(file.constData()),
                                       static_cast<unsigned long long>(file.size()), key.data()) == 0;
}

std::optional<UpdateManifest> readSignedManifest(const QByteArray& text, const UpdateKey& key) {
    // At most a few hundred bytes; anything else is not a manifest.
    if (text.size() > 1024 || !text.endsWith('\n')) return std::nullopt;
    const QList<QByteArray> lines = text.chopped(1).split('\n');
    if (lines.size() != 5 || lines[0] != "qinglan-update" || !lines[1].startsWith("version=") ||
        !lines[2].startsWith("size=") || !lines[3].startsWith("sha256=") || !lines[4].startsWith("signature="))
        return std::nullopt;
    const QByteArray signature = QByteArray::fromHex(lines[4].mid(10));
    if (lines[4].size() != 10 + 2 * crypto_sign_BYTES || signature.size() != crypto_sign_BYTES) return std::nullopt;
    const QByteArray body = text.left(text.indexOf("signature="));
    if (!signatureValid(body, signature, key)) return std::nullopt;
    UpdateManifest manifest;
    bool versionOk = false, sizeOk = false;
    manifest.version = lines[1].mid(8).toLongLong(&versionOk);
    manifest.size = lines[2].mid(5).toLongLong(&sizeOk);
    manifest.sha256 = QByteArray::fromHex(lines[3].mid(7));
    if (!versionOk || !sizeOk || manifest.size <= 0 || manifest.sha256.size() != crypto_hash_sha256_BYTES)
        return std::nullopt;
    return manifest;
}

QByteArray sha256(const QByteArray& bytes) {
    QByteArray digest(crypto_hash_sha256_BYTES, '\0');
    crypto_hash_sha256(reinterpret_cast<unsigned char*>(digest.data()),
                       reinterpret_cast<const unsigned char*>(bytes.constData()),
                       static_cast<unsigned long long>(bytes.size()));
    return digest;
}

}  // namespace cloud
