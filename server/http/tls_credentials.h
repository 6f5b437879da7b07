// The certificate and key the service's own TLS presents, and the protocol versions and suites
// it offers. The pair can be read again from its files while the service runs (SIGHUP): each new
// handshake takes the pair current at that moment, connections already open keep theirs, and a
// pair that cannot be used leaves the one in use in place.
#pragma once

#include <memory>
#include <mutex>
#include <string>

namespace qinglan::caseservice {

// TLS 1.2 and 1.3 only; AES-GCM and ChaCha20-Poly1305 with an ephemeral elliptic-curve key
// exchange only (forward secrecy), the server's order first. X25519 leads the groups: it is the
// key share clients send first, and preferring another would cost every handshake a retry.
// A GnuTLS priority string.
inline constexpr const char* kDefaultTlsPriorities =
    "SECURE128:-VERS-ALL:+VERS-TLS1.3:+VERS-TLS1.2:-CIPHER-ALL:+AES-128-GCM:+AES-256-GCM:+CHACHA20-POLY1305:"
    "-MAC-ALL:+AEAD:-KX-ALL:+ECDHE-ECDSA:+ECDHE-RSA:-GROUP-ALL:+GROUP-X25519:+GROUP-SECP256R1:+GROUP-SECP384R1:"
    "%SERVER_PRECEDENCE";

// Empty when GnuTLS takes the priority string and it leaves at least one protocol version and
// cipher; else why not, with the place of the fault.
std::string checkTlsPriorities(const std::string& priorities);

class TlsCredentials {
public:
    // The pair in two PEM files (a chain may follow the certificate); nullptr with the reason.
    static std::shared_ptr<TlsCredentials> fromFiles(const std::string& certificateFile, const std::string& keyFile,
                                                     std::string& error);
    // The pair as PEM text; it cannot be reloaded.
    static std::shared_ptr<TlsCredentials> fromPem(const std::string& certificate, const std::string& key,
                                                   std::string& error);
    ~TlsCredentials();
    TlsCredentials(const TlsCredentials&) = delete;
    TlsCredentials& operator=(const TlsCredentials&) = delete;

    // Reads the files again. True when new handshakes now present the new pair; false with the
    // reason when it is unusable (unreadable, not PEM, key and certificate apart, expired), the old
    // pair then staying in use.
    bool reload(std::string& error);
    // The certificate in use for the log: its subject and the end of its validity.
    std::string describe() const;

    // While a daemon listening on that socket lives, its handshakes get the pair from here;
    // install handshakeCallback() as its MHD_OPTION_HTTPS_CERT_CALLBACK2.
    void serveOn(int listeningSocket);
    void stopServing(int listeningSocket);
    // A gnutls_certificate_retrieve_function3.
    static void* handshakeCallback();

    struct Pair;
    // The pair a handshake starting now gets.
    std::shared_ptr<const Pair> current() const;

private:
    TlsCredentials(std::shared_ptr<const Pair> pair, std::string certificateFile, std::string keyFile);

    mutable std::mutex mutex_;
    std::shared_ptr<const Pair> current_;
    const std::string certificateFile_;
    const std::string keyFile_;
};

}  // namespace qinglan::caseservice
