#pragma once
// The Ed25519 signature that must come with every program update.
#include <QByteArray>
#include <QStringView>
#include <array>
#include <optional>

namespace cloud {

using UpdateKey = std::array<unsigned char, 32>;

// A public key written as 64 hex digits (as `sign-update keygen` prints it); none otherwise.
std::optional<UpdateKey> parseUpdateKey(QStringView hex);
// The operator's public key built into the program (the build setting QINGLAN_UPDATE_PUBLIC_KEY);
// none when the program was built without one.
std::optional<UpdateKey> builtInUpdateKey();
// Whether signature is a valid detached Ed25519 signature of file under key.
bool signatureValid(const QByteArray& file, const QByteArray& signature, const UpdateKey& key);

}  // namespace cloud
