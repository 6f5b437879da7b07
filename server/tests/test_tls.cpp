// The service speaking HTTPS itself: a certificate made for the test, a TLS client on
// 127.0.0.1, and plain HTTP refused on that port.
#include "raw_connection.h"
#include "service_harness.h"

#include <gtest/gtest.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <memory>

using namespace qinglan::caseservice;
using namespace qinglan::caseservice::testing;
using namespace std::chrono_literals;

namespace {

struct Pem {
    std::string certificate;
    std::string key;
};

std::string bioText(BIO* bio) {
    char* data = nullptr;
    const long length = BIO_get_mem_data(bio, &data);
    return std::string(data, static_cast<std::size_t>(length));
}

// A self-signed certificate for 127.0.0.1 with a P-256 key.
Pem selfSigned() {
    EVP_PKEY* key = EVP_EC_gen("P-256");
    X509* certificate = X509_new();
    ASN1_INTEGER_set(X509_get_serialNumber(certificate), 1);
    X509_gmtime_adj(X509_getm_notBefore(certificate), -60);
    X509_gmtime_adj(X509_getm_notAfter(certificate), 3600);
    X509_set_pubkey(certificate, key);
    X509_NAME* name = X509_get_subject_name(certificate);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>("127.0.0.1"), -1, -1,
                               0);
    X509_set_issuer_name(certificate, name);
    X509_sign(certificate, key, EVP_sha256());
    BIO* certOut = BIO_new(BIO_s_mem());
    BIO* keyOut = BIO_new(BIO_s_mem());
    PEM_write_bio_X509(certOut, certificate);
    PEM_write_bio_PrivateKey(keyOut, key, nullptr, nullptr, 0, nullptr, nullptr);
    Pem pem{bioText(certOut), bioText(keyOut)};
    BIO_free(certOut);
    BIO_free(keyOut);
    X509_free(certificate);
    EVP_PKEY_free(key);
    return pem;
}

// One request over TLS to 127.0.0.1:port, trusting only the given certificate; the whole
// response, empty when the handshake failed.
std::string tlsExchange(int port, const std::string& request, const std::string& trustedCertificate) {
    std::unique_ptr<SSL_CTX, decltype(&SSL_CTX_free)> context(SSL_CTX_new(TLS_client_method()), SSL_CTX_free);
    BIO* certIn = BIO_new_mem_buf(trustedCertificate.data(), static_cast<int>(trustedCertificate.size()));
    X509* trusted = PEM_read_bio_X509(certIn, nullptr, nullptr, nullptr);
    X509_STORE_add_cert(SSL_CTX_get_cert_store(context.get()), trusted);
    X509_free(trusted);
    BIO_free(certIn);
    SSL_CTX_set_verify(context.get(), SSL_VERIFY_PEER, nullptr);

    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = htons(static_cast<uint16_t>(port));
    inet_pton(AF_INET, "127.0.0.1", &target.sin_addr);
    std::string response;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&target), sizeof target) == 0) {
        SSL* ssl = SSL_new(context.get());
        SSL_set_fd(ssl, fd);
        if (SSL_connect(ssl) == 1 && SSL_write(ssl, request.data(), static_cast<int>(request.size())) > 0) {
            char buffer[4096];
            int n = 0;
            while ((n = SSL_read(ssl, buffer, sizeof buffer)) > 0) response.append(buffer, static_cast<std::size_t>(n));
        }
        SSL_free(ssl);
    }
    ::close(fd);
    return response;
}

TEST(Tls, ServesHttpsAndNothingInClearText) {
    const Pem pem = selfSigned();
    FrontendSettings settings;
    std::string error;
    settings.tls = TlsCredentials::fromPem(pem.certificate, pem.key, error);
    ASSERT_TRUE(settings.tls) << error;
    RunningService service({}, {}, {}, settings);

    const std::string digest = passwordDigest("secret");
    const std::string reg = clientFormBody({{"nm", "张三"}, {"pw", digest}, {"shouji", "1"}, {"youxiang", ""}});
    EXPECT_TRUE(
        tlsExchange(service.port(), postRequest("reg.php", reg, false), pem.certificate).ends_with("\r\n\r\nok"));
    const std::string login =
        tlsExchange(service.port(), postRequest("login.php", clientFormBody({{"nm", "张三"}, {"pw", digest}}), false),
                    pem.certificate);
    EXPECT_TRUE(login.starts_with("HTTP/1.1 200")) << login;
    EXPECT_NE(login.find("X-Qinglan-Session: "), std::string::npos) << login;
    EXPECT_TRUE(login.ends_with("\r\n\r\nok")) << login;

    // The same request in clear text gets no answer in clear text.
    RawConnection plain(service.port());
    plain.send(postRequest("login.php", clientFormBody({{"nm", "张三"}, {"pw", digest}}), false));
    const auto replies = plain.responses(1, 2s);
    EXPECT_TRUE(replies.empty() || replies[0].find("ok") == std::string::npos);
}

}  // namespace
