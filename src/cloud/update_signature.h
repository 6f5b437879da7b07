#pragma once
// The signed manifest that must come with every program update: five lines "qinglan-update",
// "version=N", "size=BYTES", "sha256=HEX" (lowercase) and "signature=HEX", the last an Ed25519
// signature of the first four (each with its newline) by the operator's key.
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

struct UpdateManifest {
    qint64 version = 0;
    qint64 size = 0;
    QByteArray sha256;  // 32 bytes
};

// The manifest when it has exactly the form above and a valid signature under key; none otherwise.
std::optional<UpdateManifest> readSignedManifest(const QByteArray& text, const UpdateKey& key);
// SHA-256 of the bytes.
QByteArray sha256(const QByteArray& bytes);

}  // namespace cloud
