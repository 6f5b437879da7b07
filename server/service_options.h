// The command line of qinglan-caseservice.
#pragma once

#include "password_auth.h"
#include "reply_format.h"

#include <optional>
#include <string>
#include <vector>

namespace qinglan::caseservice {

struct ServiceOptions {
    std::string host = "127.0.0.1";
    int port = 8080;
    std::string db = "qinglan-caseservice.db";
    LoginNotice notice;
    std::string updateFile;
    int threads = 16;
    PwhashLimits pwhash = PwhashLimits::interactive;
    std::string tlsCertificateFile;  // with tlsKeyFile: HTTPS
    std::string tlsKeyFile;
    unsigned perAddressConnections = 64;
    bool behindProxy = false;
    std::string migrateFrom;  // sqlite:FILE copied into --db, then the program ends
};

inline constexpr const char* kUsage =
    "usage: qinglan-caseservice [--listen HOST:PORT] [--db FILE] [--message TEXT] [--url URL]\n"
    "                           [--version N] [--update-file FILE] [--threads N]\n"
    "                           [--pwhash-limits interactive|moderate|minimum]\n"
    "                           [--tls-cert FILE --tls-key FILE] [--per-address-connections N]\n"
    "                           [--behind-proxy]\n"
    "       qinglan-caseservice --migrate-from sqlite:FILE --db postgresql://...\n";

// The options, or nullopt with the reason in error.
std::optional<ServiceOptions> parseServiceOptions(const std::vector<std::string>& args, std::string& error);

}  // namespace qinglan::caseservice
