#include "service_options.h"

#include "text_checks.h"

namespace qinglan::caseservice {

namespace {

std::optional<int> parsePort(const std::string& text) {
    const auto value = parseInteger(text);
    if (!value || *value < 0 || *value > 65535) return std::nullopt;
    return static_cast<int>(*value);
}

}  // namespace

std::optional<ServiceOptions> parseServiceOptions(const std::vector<std::string>& args, std::string& error) {
    ServiceOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option == "--behind-proxy") {
            options.behindProxy = true;
            continue;
        }
        if (i + 1 >= args.size()) {
            error = option == "--help" ? "" : "missing value after " + option;
            return std::nullopt;
        }
        const std::string& value = args[++i];
        if (option == "--listen") {
            const auto colon = value.rfind(':');
            const auto port = colon == std::string::npos ? std::nullopt : parsePort(value.substr(colon + 1));
            if (!port || colon == 0) {
                error = "--listen wants HOST:PORT";
                return std::nullopt;
            }
            options.host = value.substr(0, colon);
            // An IPv6 address is written in brackets: "[::1]:8080".
            if (options.host.size() > 2 && options.host.front() == '[' && options.host.back() == ']')
                options.host = options.host.substr(1, options.host.size() - 2);
            options.port = *port;
        } else if (option == "--db") {
            options.db = value;
        } else if (option == "--message") {
            if (!isValidUtf8(value)) {
                error = "--message must be UTF-8";
                return std::nullopt;
            }
            options.notice.message = value;
        } else if (option == "--url") {
            // The link travels unencoded up to "<url>": it cannot hold a "<".
            if (value.find('<') != std::string::npos || !isValidUtf8(value)) {
                error = "--url must be UTF-8 without \"<\"";
                return std::nullopt;
            }
            options.notice.url = value;
        } else if (option == "--version") {
            const auto version = parseInteger(value);
            if (!version || *version < 0) {
                error = "--version wants a whole number of 0 or more";
                return std::nullopt;
            }
            options.notice.version = *version;
        } else if (option == "--update-file") {
            options.updateFile = value;
        } else if (option == "--threads") {
            const auto threads = parseInteger(value);
            if (!threads || *threads < 1 || *threads > 1024) {
                error = "--threads wants 1 to 1024";
                return std::nullopt;
            }
            options.threads = static_cast<int>(*threads);
        } else if (option == "--tls-cert") {
            options.tlsCertificateFile = value;
        } else if (option == "--tls-key") {
            options.tlsKeyFile = value;
        } else if (option == "--per-address-connections") {
            const auto limit = parseInteger(value);
            if (!limit || *limit < 1 || *limit > 100000) {
                error = "--per-address-connections wants 1 to 100000";
                return std::nullopt;
            }
            options.perAddressConnections = static_cast<unsigned>(*limit);
        } else if (option == "--migrate-from") {
            options.migrateFrom = value;
        } else if (option == "--pwhash-limits") {
            if (value == "interactive") {
                options.pwhash = PwhashLimits::interactive;
            } else if (value == "moderate") {
                options.pwhash = PwhashLimits::moderate;
            } else if (value == "minimum") {
                options.pwhash = PwhashLimits::minimum;
            } else {
                error = "--pwhash-limits wants interactive, moderate or minimum";
                return std::nullopt;
            }
        } else {
            error = "unknown option " + option;
            return std::nullopt;
        }
    }
    if (options.tlsCertificateFile.empty() != options.tlsKeyFile.empty()) {
        error = "--tls-cert and --tls-key go together";
        return std::nullopt;
    }
    return options;
}

}  // namespace qinglan::caseservice
