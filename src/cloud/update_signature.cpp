#include "cloud/update_signature.h"

#include <QString>
#include <sodium.h>

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

}  // namespace cloud
