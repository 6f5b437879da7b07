#include "tls_test_client.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <memory>

namespace qinglan::caseservice::testing {

namespace {

std::string bioText(BIO* bio) {
    char* data = nullptr;
    const long length = BIO_get_mem_data(bio, &data);
    return std::string(data, static_cast<std::size_t>(length));
}

std::string certificatePem(X509* certificate) {
    BIO* out = BIO_new(BIO_s_mem());
    PEM_write_bio_X509(out, certificate);
    std::string text = bioText(out);
    BIO_free(out);
    return text;
}

}  // namespace

Pem selfSigned(const std::string& commonName, KeyKind kind, long validFrom, long validUntil) {
    EVP_PKEY* key = kind == KeyKind::P256 ? EVP_EC_gen("P-256") : EVP_RSA_gen(2048);
    X509* certificate = X509_new();
    ASN1_INTEGER_set(X509_get_serialNumber(certificate), 1);
    X509_gmtime_adj(X509_getm_notBefore(certificate), validFrom);
    X509_gmtime_adj(X509_getm_notAfter(certificate), validUntil);
    X509_set_pubkey(certificate, key);
    X509_NAME* name = X509_get_subject_name(certificate);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_UTF8, reinterpret_cast<const unsigned char*>(commonName.c_str()),
                               -1, -1, 0);
    X509_set_issuer_name(certificate, name);
    X509_sign(certificate, key, EVP_sha256());
    BIO* keyOut = BIO_new(BIO_s_mem());
    PEM_write_bio_PrivateKey(keyOut, key, nullptr, nullptr, 0, nullptr, nullptr);
    Pem pem{certificatePem(certificate), bioText(keyOut)};
    BIO_free(keyOut);
    X509_free(certificate);
    EVP_PKEY_free(key);
    return pem;
}

TlsOutcome tlsExchange(int port, const std::string& request, const TlsClientSettings& settings) {
    std::unique_ptr<SSL_CTX, decltype(&SSL_CTX_free)> context(SSL_CTX_new(TLS_client_method()), SSL_CTX_free);
    if (settings.minVersion) SSL_CTX_set_min_proto_version(context.get(), settings.minVersion);
    if (settings.maxVersion) SSL_CTX_set_max_proto_version(context.get(), settings.maxVersion);
    if (!settings.cipherList.empty()) SSL_CTX_set_cipher_list(context.get(), settings.cipherList.c_str());
    if (!settings.cipherSuites.empty()) SSL_CTX_set_ciphersuites(context.get(), settings.cipherSuites.c_str());
    if (!settings.trusted.empty()) {
        BIO* in = BIO_new_mem_buf(settings.trusted.data(), static_cast<int>(settings.trusted.size()));
        X509* trusted = PEM_read_bio_X509(in, nullptr, nullptr, nullptr);
        X509_STORE_add_cert(SSL_CTX_get_cert_store(context.get()), trusted);
        X509_free(trusted);
        BIO_free(in);
        SSL_CTX_set_verify(context.get(), SSL_VERIFY_PEER, nullptr);
    }

    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    // A service that never answers fails the test instead of holding it.
    const timeval limit{10, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = htons(static_cast<uint16_t>(port));
    inet_pton(AF_INET, "127.0.0.1", &target.sin_addr);
    TlsOutcome outcome;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&target), sizeof target) == 0) {
        SSL* ssl = SSL_new(context.get());
        SSL_set_fd(ssl, fd);
        outcome.handshake = SSL_connect(ssl) == 1;
        if (outcome.handshake) {
            outcome.version = SSL_get_version(ssl);
            outcome.cipher = SSL_get_cipher_name(ssl);
            if (const char* group = SSL_group_to_name(ssl, SSL_get_negotiated_group(ssl))) outcome.group = group;
            if (X509* served = SSL_get1_peer_certificate(ssl)) {
                outcome.served = certificatePem(served);
                X509_free(served);
            }
            if (!request.empty() && SSL_write(ssl, request.data(), static_cast<int>(request.size())) > 0) {
                char buffer[4096];
                int n = 0;
                while ((n = SSL_read(ssl, buffer, sizeof buffer)) > 0)
                    outcome.response.append(buffer, static_cast<std::size_t>(n));
            }
        }
        SSL_free(ssl);
    }
    ::close(fd);
    return outcome;
}

}  // namespace qinglan::caseservice::testing
