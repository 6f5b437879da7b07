// Certificates made for a test, and a TLS client on 127.0.0.1 (OpenSSL, independent of the
// service's GnuTLS) whose versions and suites a test chooses.
#pragma once

#include <string>

namespace qinglan::caseservice::testing {

struct Pem {
    std::string certificate;
    std::string key;
};

enum class KeyKind { P256, Rsa2048 };

// A self-signed certificate for 127.0.0.1, valid from validFrom to validUntil seconds from now.
Pem selfSigned(const std::string& commonName = "127.0.0.1", KeyKind kind = KeyKind::P256, long validFrom = -60,
               long validUntil = 3600);

struct TlsClientSettings {
    int minVersion = 0;  // TLS1_VERSION ... TLS1_3_VERSION; 0: OpenSSL's default
    int maxVersion = 0;
    std::string cipherList;    // TLS 1.2 and below, OpenSSL's syntax ("ECDHE-ECDSA-AES128-SHA:@SECLEVEL=0")
    std::string cipherSuites;  // TLS 1.3
    std::string trusted;       // PEM: the handshake fails unless the service presents this; empty: any
};

struct TlsOutcome {
    bool handshake = false;
    std::string version;   // "TLSv1.3"
    std::string cipher;    // OpenSSL's name of the suite
    std::string group;     // of the key exchange: "x25519"
    std::string served;    // the certificate the service presented, PEM
    std::string response;  // everything read after sending the request
};

// Connects to 127.0.0.1:port, shakes hands and, when that succeeds and request is not empty,
// sends it and reads until the service closes.
TlsOutcome tlsExchange(int port, const std::string& request, const TlsClientSettings& settings = {});

}  // namespace qinglan::caseservice::testing
