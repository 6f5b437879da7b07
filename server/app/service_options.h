// The command line of qinglan-caseservice, and the configuration file with the same keys.
#pragma once

#include "auth/password_auth.h"
#include "model/records.h"

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
    PwhashLimits pwhash = PwhashLimits::Interactive;
    std::string tlsCertificateFile;  // with tlsKeyFile: HTTPS
    std::string tlsKeyFile;
    std::string tlsPriorities;  // a GnuTLS priority string; empty: the transport's default
    bool insecureHttp = false;  // plain HTTP on an address other than loopback
    unsigned perAddressConnections = 64;
    bool behindProxy = false;
    AccountQuotas quotas;
    int headDeadlineSeconds = 5;
    unsigned bodyBudgetMiB = 64;
    bool logClientAddress = false;
    std::string metricsHost;  // empty: no metrics listener
    int metricsPort = 0;
    std::string migrateFrom;  // sqlite:FILE copied into --db, then the program ends
};

// What a command line asks for.
struct ServiceCommand {
    enum class Action { Serve, Help, Version };
    Action action = Action::Serve;
    ServiceOptions options;
    std::vector<std::string> warnings;  // told on standard error; the service still starts
};

// Every option with its value and its default, for --help.
std::string serviceHelp();
// "qinglan-caseservice VERSION", for --version.
std::string serviceVersion();

// Reads the arguments ("--name value" or "--name=value") and, for --config FILE, the options in
// that file first (a value on the command line wins). nullopt with the reason in error for an
// unknown option, a missing or wrong value, or a file that cannot be read.
std::optional<ServiceCommand> parseServiceCommand(const std::vector<std::string>& args, std::string& error);

}  // namespace qinglan::caseservice
