// sign-update: the operator's tool for signed program updates.
//   sign-update keygen SECRET_KEY_FILE     new key pair; prints the public key (64 hex digits)
//   sign-update public SECRET_KEY_FILE     prints the public key of a secret key file
//   sign-update sign SECRET_KEY_FILE FILE VERSION
//                                          writes the signed manifest FILE.sig
//   sign-update verify PUBLIC_KEY FILE     checks FILE.sig and FILE against each other (exit
//                                          status 0 when valid; prints the version)
// The manifest is five lines: "qinglan-update", "version=N", "size=BYTES", "sha256=HEX" and
// "signature=HEX", the last an Ed25519 signature of the first four lines (each with its
// newline). The desktop program is built with the public key (-DQINGLAN_UPDATE_PUBLIC_KEY=...)
// and installs only a file that matches a validly signed manifest of a newer version; the case
// service serves FILE.sig beside its --update-file FILE.
#include "qinglan_build.h"

#include <sodium.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

std::optional<Bytes> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool writeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

std::string hex(const unsigned char* bytes, std::size_t size) {
    std::string text(size * 2 + 1, '\0');
    sodium_bin2hex(text.data(), text.size(), bytes, size);
    text.pop_back();
    return text;
}

std::optional<Bytes> secretKey(const std::string& path) {
    auto key = readFile(path);
    if (!key || key->size() != crypto_sign_SECRETKEYBYTES) {
        std::cerr << "sign-update: " << path << " is not a secret key file\n";
        return std::nullopt;
    }
    return key;
}

int printPublicKey(const Bytes& secret) {
    unsigned char publicKey[crypto_sign_PUBLICKEYBYTES];
    crypto_sign_ed25519_sk_to_pk(publicKey, secret.data());
    std::cout << hex(publicKey, sizeof publicKey) << '\n';
    return 0;
}

int keygen(const std::string& path) {
    struct stat existing;
    if (stat(path.c_str(), &existing) == 0) {
        std::cerr << "sign-update: " << path << " exists; not overwriting a key\n";
        return 1;
    }
    unsigned char publicKey[crypto_sign_PUBLICKEYBYTES];
    Bytes secret(crypto_sign_SECRETKEYBYTES);
    crypto_sign_keypair(publicKey, secret.data());
    const mode_t previous = umask(077);  // the secret key is readable by its owner only
    const bool written = writeFile(path, secret);
    umask(previous);
    if (!written) {
        std::cerr << "sign-update: cannot write " << path << '\n';
        return 1;
    }
    std::cout << hex(publicKey, sizeof publicKey) << '\n';
    return 0;
}

// The signed part of the manifest: the first four lines.
std::string manifestBody(long long version, const Bytes& file) {
    unsigned char digest[crypto_hash_sha256_BYTES];
    crypto_hash_sha256(digest, file.data(), file.size());
    return "qinglan-update\nversion=" + std::to_string(version) + "\nsize=" + std::to_string(file.size()) +
           "\nsha256=" + hex(digest, sizeof digest) + "\n";
}

int sign(const std::string& keyPath, const std::string& filePath, const std::string& versionText) {
    const auto secret = secretKey(keyPath);
    const auto file = readFile(filePath);
    if (!secret) return 1;
    if (!file) {
        std::cerr << "sign-update: cannot read " << filePath << '\n';
        return 1;
    }
    long long version = 0;
    try {
        std::size_t used = 0;
        version = std::stoll(versionText, &used);
        if (used != versionText.size() || version < 1) throw std::invalid_argument("version");
    } catch (const std::exception&) {
        std::cerr << "sign-update: the version must be a whole number of 1 or more\n";
        return 2;
    }
    const std::string body = manifestBody(version, *file);
    unsigned char signature[crypto_sign_BYTES];
    crypto_sign_detached(signature, nullptr, reinterpret_cast<const unsigned char*>(body.data()), body.size(),
                         secret->data());
    const std::string manifest = body + "signature=" + hex(signature, sizeof signature) + "\n";
    if (!writeFile(filePath + ".sig", Bytes(manifest.begin(), manifest.end()))) {
        std::cerr << "sign-update: cannot write " << filePath << ".sig\n";
        return 1;
    }
    return 0;
}

int verify(const std::string& publicHex, const std::string& filePath) {
    unsigned char publicKey[crypto_sign_PUBLICKEYBYTES];
    std::size_t length = 0;
    if (sodium_hex2bin(publicKey, sizeof publicKey, publicHex.c_str(), publicHex.size(), nullptr, &length, nullptr) !=
            0 ||
        length != sizeof publicKey) {
        std::cerr << "sign-update: the public key must be 64 hex digits\n";
        return 2;
    }
    const auto file = readFile(filePath);
    const auto manifestBytes = readFile(filePath + ".sig");
    bool valid = false;
    long long version = 0;
    if (file && manifestBytes) {
        const std::string manifest(manifestBytes->begin(), manifestBytes->end());
        const auto at = manifest.find("signature=");
        const auto versionAt = manifest.find("\nversion=");
        if (at != std::string::npos && versionAt != std::string::npos) {
            version = std::atoll(manifest.c_str() + versionAt + 9);
            const std::string body = manifest.substr(0, at);
            unsigned char signature[crypto_sign_BYTES];
            const std::string signatureHex = manifest.substr(at + 10, 2 * crypto_sign_BYTES);
            valid = body == manifestBody(version, *file) &&
                    sodium_hex2bin(signature, sizeof signature, signatureHex.c_str(), signatureHex.size(), nullptr,
                                   &length, nullptr) == 0 &&
                    length == sizeof signature &&
                    crypto_sign_verify_detached(signature, reinterpret_cast<const unsigned char*>(body.data()),
                                                body.size(), publicKey) == 0;
        }
    }
    if (valid)
        std::cout << "valid, version " << version << '\n';
    else
        std::cout << "INVALID\n";
    return valid ? 0 : 1;
}

}  // namespace

constexpr const char* kUsage =
    "usage: sign-update keygen SECRET_KEY_FILE\n"
    "       sign-update public SECRET_KEY_FILE\n"
    "       sign-update sign SECRET_KEY_FILE FILE VERSION   (writes the manifest FILE.sig)\n"
    "       sign-update verify PUBLIC_KEY_HEX FILE\n"
    "       sign-update --help | --version\n";

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::cout << kUsage
                  << "Signs program updates for the case service to offer (see the comment at the top of "
                     "sign_update.cpp).\n";
        return 0;
    }
    if (args.size() == 1 && args[0] == "--version") {
        std::cout << "sign-update " << QINGLAN_VERSION << '\n';
        return 0;
    }
    if (sodium_init() < 0) {
        std::cerr << "sign-update: libsodium failed to start\n";
        return 1;
    }
    if (args.size() == 2 && args[0] == "keygen") return keygen(args[1]);
    if (args.size() == 2 && args[0] == "public") {
        const auto secret = secretKey(args[1]);
        return secret ? printPublicKey(*secret) : 1;
    }
    if (args.size() == 4 && args[0] == "sign") return sign(args[1], args[2], args[3]);
    if (args.size() == 3 && args[0] == "verify") return verify(args[1], args[2]);
    std::cerr << kUsage;
    return 2;
}
