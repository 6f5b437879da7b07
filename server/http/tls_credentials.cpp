#include "http/tls_credentials.h"

#include <gnutls/abstract.h>
#include <gnutls/gnutls.h>
#include <gnutls/x509.h>
#include <microhttpd.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <unordered_map>
#include <vector>

namespace qinglan::caseservice {

namespace {

constexpr std::size_t kPemFileLimit = 1024 * 1024;
// Certificates in a chain: every handshake sends them all.
constexpr unsigned kChainLimit = 16;

// The file's bytes, at most kPemFileLimit; false with the reason. Only a regular file is read,
// so that a FIFO named by mistake never holds up the thread that reloads.
bool readPemFile(const std::string& path, std::string& text, std::string& error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0) {
        error = "cannot read " + path + ": " + std::strerror(errno);
        if (fd >= 0) ::close(fd);
        return false;
    }
    if (!S_ISREG(info.st_mode) || info.st_size > static_cast<off_t>(kPemFileLimit)) {
        ::close(fd);
        error = path + " is not a PEM file of at most 1 MiB";
        return false;
    }
    text.assign(static_cast<std::size_t>(info.st_size), '\0');
    std::size_t got = 0;
    while (got < text.size()) {
        const ssize_t n = ::read(fd, text.data() + got, text.size() - got);
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    text.resize(got);
    return true;
}

gnutls_datum_t datum(const std::string& text) {
    return {reinterpret_cast<unsigned char*>(const_cast<char*>(text.data())), static_cast<unsigned>(text.size())};
}

std::string utcDate(std::time_t when) {
    std::tm parts{};
    gmtime_r(&when, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M UTC", &parts);
    return text;
}

}  // namespace

// A certificate chain (DER, the server's own first) and its private key, checked to belong together.
struct TlsCredentials::Pair {
    std::vector<std::string> chain;
    gnutls_x509_privkey_t key = nullptr;
    std::string description;
    ~Pair() {
        if (key) gnutls_x509_privkey_deinit(key);
    }
};

namespace {

using Pair = TlsCredentials::Pair;

// The pair in the PEM texts; nullptr with the reason. certificateName and keyName say where the
// texts came from.
std::shared_ptr<const Pair> parsePair(const std::string& certificatePem, const std::string& keyPem,
                                      const std::string& certificateName, const std::string& keyName,
                                      std::string& error) {
    auto pair = std::make_shared<Pair>();
    gnutls_x509_crt_t* certificates = nullptr;
    unsigned count = 0;
    const gnutls_datum_t certificateText = datum(certificatePem);
    int rc = gnutls_x509_crt_list_import2(&certificates, &count, &certificateText, GNUTLS_X509_FMT_PEM,
                                          GNUTLS_X509_CRT_LIST_FAIL_IF_UNSORTED);
    if (rc < 0 || count == 0) {
        error = certificateName + " holds no usable PEM certificate: " + gnutls_strerror(rc);
        return nullptr;
    }
    unsigned char certificateId[64];
    std::size_t certificateIdSize = sizeof certificateId;
    const bool identified = gnutls_x509_crt_get_key_id(certificates[0], 0, certificateId, &certificateIdSize) == 0;
    const std::time_t now = std::time(nullptr);
    const std::time_t notBefore = gnutls_x509_crt_get_activation_time(certificates[0]);
    const std::time_t notAfter = gnutls_x509_crt_get_expiration_time(certificates[0]);
    gnutls_datum_t subject{};
    if (gnutls_x509_crt_get_dn3(certificates[0], &subject, 0) == 0) {
        pair->description = std::string(reinterpret_cast<const char*>(subject.data), subject.size);
        gnutls_free(subject.data);
    }
    pair->description += ", valid until " + utcDate(notAfter);
    for (unsigned i = 0; i < count; ++i) {
        gnutls_datum_t der{};
        if (identified && count <= kChainLimit &&
            gnutls_x509_crt_export2(certificates[i], GNUTLS_X509_FMT_DER, &der) == 0) {
            pair->chain.emplace_back(reinterpret_cast<const char*>(der.data), der.size);
            gnutls_free(der.data);
        }
        gnutls_x509_crt_deinit(certificates[i]);
    }
    gnutls_free(certificates);
    if (count > kChainLimit) {
        error = certificateName + " holds more than " + std::to_string(kChainLimit) + " certificates";
        return nullptr;
    }
    if (pair->chain.size() != count) {
        error = certificateName + " holds a certificate that cannot be used";
        return nullptr;
    }
    if (notAfter != static_cast<std::time_t>(-1) && notAfter < now) {
        error = "the certificate in " + certificateName + " expired on " + utcDate(notAfter);
        return nullptr;
    }
    if (notBefore != static_cast<std::time_t>(-1) && notBefore > now) {
        error = "the certificate in " + certificateName + " is not valid before " + utcDate(notBefore);
        return nullptr;
    }

    const gnutls_datum_t keyText = datum(keyPem);
    if (gnutls_x509_privkey_init(&pair->key) != 0) {
        error = "out of memory";
        return nullptr;
    }
    rc = gnutls_x509_privkey_import2(pair->key, &keyText, GNUTLS_X509_FMT_PEM, nullptr, GNUTLS_PKCS_PLAIN);
    if (rc < 0) {
        error = keyName + " holds no usable unencrypted PEM private key: " + gnutls_strerror(rc);
        return nullptr;
    }
    unsigned char keyId[64];
    std::size_t keyIdSize = sizeof keyId;
    if (gnutls_x509_privkey_get_key_id(pair->key, 0, keyId, &keyIdSize) < 0 || keyIdSize != certificateIdSize ||
        std::memcmp(keyId, certificateId, keyIdSize) != 0) {
        error = "the key in " + keyName + " does not belong to the certificate in " + certificateName;
        return nullptr;
    }
    return pair;
}

// Which credentials serve the daemon listening on a socket. The handshake callback gets no
// pointer of ours; it finds the daemon through the connection that libmicrohttpd keeps as the
// TLS session's pointer.
std::mutex registryMutex;
std::unordered_map<int, TlsCredentials*> registry;

int presentPair(gnutls_session_t session, const gnutls_cert_retr_st* /*info*/, gnutls_pcert_st** certificates,
                unsigned* certificateCount, gnutls_ocsp_data_st** ocsp, unsigned* ocspCount, gnutls_privkey_t* key,
                unsigned* flags);

}  // namespace

std::string checkTlsPriorities(const std::string& priorities) {
    gnutls_priority_t cache = nullptr;
    const char* faultAt = nullptr;
    const int rc = gnutls_priority_init2(&cache, priorities.c_str(), &faultAt, 0);
    if (rc < 0) {
        std::string why = std::string("not a GnuTLS priority string (") + gnutls_strerror(rc) + ")";
        if (faultAt && rc == GNUTLS_E_INVALID_REQUEST) why += " at \"" + std::string(faultAt).substr(0, 40) + "\"";
        return why;
    }
    const unsigned* list = nullptr;
    const int versions = gnutls_priority_protocol_list(cache, &list);
    const int ciphers = gnutls_priority_cipher_list(cache, &list);
    gnutls_priority_deinit(cache);
    if (versions <= 0) return "the priority string leaves no TLS version";
    if (ciphers <= 0) return "the priority string leaves no cipher";
    return {};
}

TlsCredentials::TlsCredentials(std::shared_ptr<const Pair> pair, std::string certificateFile, std::string keyFile)
    : current_(std::move(pair)), certificateFile_(std::move(certificateFile)), keyFile_(std::move(keyFile)) {}

TlsCredentials::~TlsCredentials() = default;

std::shared_ptr<TlsCredentials> TlsCredentials::fromFiles(const std::string& certificateFile,
                                                          const std::string& keyFile, std::string& error) {
    std::string certificate;
    std::string key;
    if (!readPemFile(certificateFile, certificate, error) || !readPemFile(keyFile, key, error)) return nullptr;
    auto pair = parsePair(certificate, key, certificateFile, keyFile, error);
    if (!pair) return nullptr;
    return std::shared_ptr<TlsCredentials>(new TlsCredentials(std::move(pair), certificateFile, keyFile));
}

std::shared_ptr<TlsCredentials> TlsCredentials::fromPem(const std::string& certificate, const std::string& key,
                                                        std::string& error) {
    auto pair = parsePair(certificate, key, "the certificate text", "the key text", error);
    if (!pair) return nullptr;
    return std::shared_ptr<TlsCredentials>(new TlsCredentials(std::move(pair), {}, {}));
}

bool TlsCredentials::reload(std::string& error) {
    if (certificateFile_.empty()) {
        error = "the certificate was not read from a file";
        return false;
    }
    std::string certificate;
    std::string key;
    if (!readPemFile(certificateFile_, certificate, error) || !readPemFile(keyFile_, key, error)) return false;
    auto pair = parsePair(certificate, key, certificateFile_, keyFile_, error);
    if (!pair) return false;
    std::lock_guard lock(mutex_);
    current_ = std::move(pair);
    return true;
}

std::string TlsCredentials::describe() const { return current()->description; }

std::shared_ptr<const Pair> TlsCredentials::current() const {
    std::lock_guard lock(mutex_);
    return current_;
}

void TlsCredentials::serveOn(int listeningSocket) {
    std::lock_guard lock(registryMutex);
    registry[listeningSocket] = this;
}

void TlsCredentials::stopServing(int listeningSocket) {
    std::lock_guard lock(registryMutex);
    const auto found = registry.find(listeningSocket);
    if (found != registry.end() && found->second == this) registry.erase(found);
}

void* TlsCredentials::handshakeCallback() { return reinterpret_cast<void*>(&presentPair); }

namespace {

std::shared_ptr<const Pair> pairFor(gnutls_session_t session) {
    auto* connection = static_cast<MHD_Connection*>(gnutls_session_get_ptr(session));
    if (!connection) return nullptr;
    const auto* daemon = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_DAEMON);
    if (!daemon || !daemon->daemon) return nullptr;
    const auto* listening = MHD_get_daemon_info(daemon->daemon, MHD_DAEMON_INFO_LISTEN_FD);
    if (!listening) return nullptr;
    std::lock_guard lock(registryMutex);
    const auto found = registry.find(listening->listen_fd);
    return found == registry.end() ? nullptr : found->second->current();
}

// Gives the handshake its own copy of the pair, which GnuTLS frees with the session: a reload
// meanwhile never pulls it from under a connection.
int presentPair(gnutls_session_t session, const gnutls_cert_retr_st* /*info*/, gnutls_pcert_st** certificates,
                unsigned* certificateCount, gnutls_ocsp_data_st** ocsp, unsigned* ocspCount, gnutls_privkey_t* key,
                unsigned* flags) {
    const auto pair = pairFor(session);
    if (!pair) return -1;
    auto* list = static_cast<gnutls_pcert_st*>(gnutls_malloc(pair->chain.size() * sizeof(gnutls_pcert_st)));
    if (!list) return -1;
    std::size_t imported = 0;
    for (const std::string& der : pair->chain) {
        const gnutls_datum_t data = datum(der);
        if (gnutls_pcert_import_x509_raw(&list[imported], &data, GNUTLS_X509_FMT_DER, 0) < 0) break;
        ++imported;
    }
    gnutls_privkey_t copy = nullptr;
    if (imported < pair->chain.size() || gnutls_privkey_init(&copy) < 0 ||
        gnutls_privkey_import_x509(copy, pair->key, GNUTLS_PRIVKEY_IMPORT_COPY) < 0) {
        if (copy) gnutls_privkey_deinit(copy);
        for (std::size_t i = 0; i < imported; ++i) gnutls_pcert_deinit(&list[i]);
        gnutls_free(list);
        return -1;
    }
    *certificates = list;
    *certificateCount = static_cast<unsigned>(imported);
    *ocsp = nullptr;
    *ocspCount = 0;
    *key = copy;
    *flags = GNUTLS_CERT_RETR_DEINIT_ALL;
    return 0;
}

}  // namespace

}  // namespace qinglan::caseservice
