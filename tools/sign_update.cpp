// sign-update: the operator's tool for signed program updates.
//   sign-update keygen SECRET_KEY_FILE     new key pair; prints the public key (64 hex digits)
//   sign-update public SECRET_KEY_FILE     prints the public key of a secret key file
//   sign-update sign SECRET_KEY_FILE FILE  writes the detached signature FILE.sig
//   sign-update verify PUBLIC_KEY FILE     checks FILE.sig against FILE (exit status 0 when valid)
// The desktop program is built with the public key (-DQINGLAN_UPDATE_PUBLIC_KEY=...); the case
// service serves FILE.sig beside its --update-file FILE.
#include <sodium.h>
#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
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

int sign(const std::string& keyPath, const std::string& filePath) {
    const auto secret = secretKey(keyPath);
    const auto file = readFile(filePath);
    if (!secret) return 1;
    if (!file) {
        std::cerr << "sign-update: cannot read " << filePath << '\n';
        return 1;
    }
    Bytes signature(crypto_sign_BYTES);
    crypto_sign_detached(signature.data(), nullptr, file->data(), file->size(), secret->data());
    if (!writeFile(filePath + ".sig", signature)) {
        std::cerr << "sign-update: cannot write " << filePath << ".sig\n";
        return 1;
    }
    return 0;
}

int verify(const std::string& publicHex, const std::string& filePath) {
    unsigned char publicKey[crypto_sign_PUBLICKEYBYTES];
    std::size_t length = 0;
    if (sodium_hex2bin(publicKey, sizeof publicKey, publicHex.c_str(), publicHex.size(), nullptr, &length, nullptr) != 0 ||
        length != sizeof publicKey) {
        std::cerr << "sign-update: the public key must be 64 hex digits\n";
        return 2;
    }
    const auto file = readFile(filePath);
    const auto signature = readFile(filePath + ".sig");
    const bool valid = file && signature && signature->size() == crypto_sign_BYTES &&
                       crypto_sign_verify_detached(signature->data(), file->data(), file->size(), publicKey) == 0;
    std::cout << (valid ? "valid" : "INVALID") << '\n';
    return valid ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (sodium_init() < 0) {
        std::cerr << "sign-update: libsodium failed to start\n";
        return 1;
    }
    if (args.size() == 2 && args[0] == "keygen") return keygen(args[1]);
    if (args.size() == 2 && args[0] == "public") {
        const auto secret = secretKey(args[1]);
        return secret ? printPublicKey(*secret) : 1;
    }
    if (args.size() == 3 && args[0] == "sign") return sign(args[1], args[2]);
    if (args.size() == 3 && args[0] == "verify") return verify(args[1], args[2]);
    std::cerr << "usage: sign-update keygen SECRET_KEY_FILE\n"
                 "       sign-update public SECRET_KEY_FILE\n"
                 "       sign-update sign SECRET_KEY_FILE FILE      (writes FILE.sig)\n"
                 "       sign-update verify PUBLIC_KEY_HEX FILE\n";
    return 2;
}
