#include "app/service_options.h"

#include "http/tls_credentials.h"
#include "model/text_checks.h"
#include "qinglan_build.h"

#include <arpa/inet.h>
#include <netinet/in.h>

#include <filesystem>
#include <fstream>
#include <string_view>

namespace qinglan::caseservice {

namespace {

// Takes an option's value into the options: the problem when the value is wrong, else empty.
using TakeValue = std::string (*)(ServiceOptions&, const std::string&);

struct OptionRow {
    std::string_view name;       // on the command line with "--" before it, in the file as it is
    std::string_view valueName;  // empty for a switch ("true" or "false" in the file)
    std::string_view defaultText;
    std::string_view help;
    TakeValue take;
};

std::optional<int> parsePort(const std::string& text) {
    const auto value = parseInteger(text);
    if (!value || *value < 0 || *value > 65535) return std::nullopt;
    return static_cast<int>(*value);
}

// HOST:PORT into its parts; false when it is not one.
bool splitHostPort(const std::string& value, std::string& host, int& port) {
    const auto colon = value.rfind(':');
    const auto number = colon == std::string::npos ? std::nullopt : parsePort(value.substr(colon + 1));
    if (!number || colon == 0) return false;
    host = value.substr(0, colon);
    // An IPv6 address is written in brackets: "[::1]:8080".
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
    port = *number;
    return true;
}

std::string takeListen(ServiceOptions& options, const std::string& value) {
    return splitHostPort(value, options.host, options.port) ? std::string() : "--listen wants HOST:PORT";
}

bool isLoopbackHost(const std::string& host) {
    in_addr v4{};
    in6_addr v6{};
    if (inet_pton(AF_INET, host.c_str(), &v4) == 1) return (ntohl(v4.s_addr) >> 24) == 127;
    return host == "localhost" || (inet_pton(AF_INET6, host.c_str(), &v6) == 1 && IN6_IS_ADDR_LOOPBACK(&v6));
}

std::string takeMetricsListen(ServiceOptions& options, const std::string& value) {
    if (!splitHostPort(value, options.metricsHost, options.metricsPort)) return "--metrics-listen wants HOST:PORT";
    if (!isLoopbackHost(options.metricsHost))
        return "--metrics-listen takes a loopback address (127.0.0.1:PORT or [::1]:PORT), not " + options.metricsHost +
               ": the metrics are for this machine only";
    return {};
}

std::string takeHeadDeadline(ServiceOptions& options, const std::string& value) {
    const auto seconds = parseInteger(value);
    if (!seconds || *seconds < 1 || *seconds > 300) return "--head-deadline wants 1 to 300 seconds";
    options.headDeadlineSeconds = static_cast<int>(*seconds);
    return {};
}

std::string takeBodyBudget(ServiceOptions& options, const std::string& value) {
    const auto mebibytes = parseInteger(value);
    if (!mebibytes || *mebibytes < 1 || *mebibytes > 65536) return "--body-budget wants 1 to 65536 MiB";
    options.bodyBudgetMiB = static_cast<unsigned>(*mebibytes);
    return {};
}

std::string takeLogClientAddress(ServiceOptions& options, const std::string& value) {
    if (value != "true" && value != "false") return "log-client-address wants true or false";
    options.logClientAddress = value == "true";
    return {};
}

std::string takeDb(ServiceOptions& options, const std::string& value) {
    if (value.empty()) return "--db wants a file name";
    options.db = value;
    return {};
}

std::string takeMessage(ServiceOptions& options, const std::string& value) {
    if (!isValidUtf8(value)) return "--message must be UTF-8";
    options.notice.message = value;
    return {};
}

std::string takeUrl(ServiceOptions& options, const std::string& value) {
    // The link travels unencoded up to "<url>": it cannot hold a "<".
    if (value.find('<') != std::string::npos || !isValidUtf8(value)) return "--url must be UTF-8 without \"<\"";
    options.notice.url = value;
    return {};
}

std::string takeOfferVersion(ServiceOptions& options, const std::string& value) {
    const auto version = parseInteger(value);
    if (!version || *version < 0) return "--offer-version wants a whole number of 0 or more";
    options.notice.version = *version;
    return {};
}

std::string takeUpdateFile(ServiceOptions& options, const std::string& value) {
    options.updateFile = value;
    return {};
}

std::string takeThreads(ServiceOptions& options, const std::string& value) {
    const auto threads = parseInteger(value);
    if (!threads || *threads < 1 || *threads > 1024) return "--threads wants 1 to 1024";
    options.threads = static_cast<int>(*threads);
    return {};
}

std::string takePwhashLimits(ServiceOptions& options, const std::string& value) {
    if (value == "interactive")
        options.pwhash = PwhashLimits::Interactive;
    else if (value == "moderate")
        options.pwhash = PwhashLimits::Moderate;
    else if (value == "minimum")
        options.pwhash = PwhashLimits::Minimum;
    else
        return "--pwhash-limits wants interactive, moderate or minimum";
    return {};
}

std::string takeTlsCert(ServiceOptions& options, const std::string& value) {
    options.tlsCertificateFile = value;
    return {};
}

std::string takeTlsKey(ServiceOptions& options, const std::string& value) {
    options.tlsKeyFile = value;
    return {};
}

std::string takeTlsPriorities(ServiceOptions& options, const std::string& value) {
    if (value.empty()) return "--tls-priorities wants a GnuTLS priority string";
    const std::string problem = checkTlsPriorities(value);
    if (!problem.empty()) return "--tls-priorities: " + problem;
    options.tlsPriorities = value;
    return {};
}

std::string takePerAddressConnections(ServiceOptions& options, const std::string& value) {
    const auto limit = parseInteger(value);
    if (!limit || *limit < 1 || *limit > 100000) return "--per-address-connections wants 1 to 100000";
    options.perAddressConnections = static_cast<unsigned>(*limit);
    return {};
}

std::string takeMigrateFrom(ServiceOptions& options, const std::string& value) {
    if (value.empty()) return "--migrate-from wants sqlite:FILE";
    options.migrateFrom = value;
    return {};
}

// A switch: "true" or "false" (the command line gives "true").
std::string takeSwitch(bool& target, std::string_view name, const std::string& value) {
    if (value != "true" && value != "false") return std::string(name) + " wants true or false";
    target = value == "true";
    return {};
}

// A size: a whole number of bytes, or of KiB, MiB or GiB with the suffix K, M or G.
std::optional<std::int64_t> parseSize(std::string text) {
    std::int64_t unit = 1;
    if (!text.empty()) {
        const char suffix = text.back();
        unit = suffix == 'K' ? 1024 : suffix == 'M' ? 1024 * 1024 : suffix == 'G' ? 1024 * 1024 * 1024 : 1;
        if (unit > 1) text.pop_back();
    }
    const auto value = parseInteger(text);
    if (!value || *value < 0 || *value > (std::int64_t{1} << 50) / unit) return std::nullopt;
    return *value * unit;
}

std::string takeQuotaBytes(ServiceOptions& options, const std::string& value) {
    const auto bytes = parseSize(value);
    if (!bytes) return "--quota-bytes wants a size such as 256M, or 0 for no bound";
    options.quotas.storedBytes = *bytes;
    return {};
}

std::string takeQuotaSaves(ServiceOptions& options, const std::string& value) {
    const auto saves = parseInteger(value);
    if (!saves || *saves < 0 || *saves > 1000000) return "--quota-saves-per-minute wants 0 to 1000000";
    options.quotas.savesPerMinute = static_cast<int>(*saves);
    return {};
}

std::string takeQuotaSearches(ServiceOptions& options, const std::string& value) {
    const auto searches = parseInteger(value);
    if (!searches || *searches < 0 || *searches > 1024) return "--quota-searches wants 0 to 1024";
    options.quotas.searchesAtOnce = static_cast<int>(*searches);
    return {};
}

std::string takeBehindProxy(ServiceOptions& options, const std::string& value) {
    return takeSwitch(options.behindProxy, "behind-proxy", value);
}

std::string takeInsecureHttp(ServiceOptions& options, const std::string& value) {
    return takeSwitch(options.insecureHttp, "insecure-http", value);
}

// The options of the service, in the order --help lists them; a configuration file takes the
// same names.
constexpr OptionRow kOptions[] = {
    {"listen", "HOST:PORT", "127.0.0.1:8080", "address to serve on; port 0 takes any free port (shown at start)",
     takeListen},
    {"db", "FILE|sqlite:FILE|postgresql://...", "qinglan-caseservice.db",
     "the SQLite database (created when missing) or a PostgreSQL connection URI", takeDb},
    {"message", "TEXT", "empty", "message the desktop program shows after login", takeMessage},
    {"url", "URL", "empty", "link behind that message (no \"<\")", takeUrl},
    {"offer-version", "N", "0", "program version offered at login; the desktop program asks to update when N > 3",
     takeOfferVersion},
    {"update-file", "FILE", "none (g.zip answers 404)",
     "the program update served as g.zip (its signature FILE.sig as g.zip.sig)", takeUpdateFile},
    {"threads", "N", "16", "workers for the case requests (1..1024)", takeThreads},
    {"pwhash-limits", "interactive|moderate|minimum", "interactive", "cost of the password hash (minimum: tests only)",
     takePwhashLimits},
    {"tls-cert", "FILE", "none", "PEM certificate (chain); with --tls-key: HTTPS only", takeTlsCert},
    {"tls-key", "FILE", "none", "PEM private key of the certificate; SIGHUP reads both files again", takeTlsKey},
    {"tls-priorities", "STRING", kDefaultTlsPriorities,
     "GnuTLS priority string choosing the TLS versions and cipher suites; the default offers TLS 1.2 and 1.3 "
     "with AEAD suites and forward secrecy only",
     takeTlsPriorities},
    {"per-address-connections", "N", "64", "open connections one client address may have (1..100000)",
     takePerAddressConnections},
    {"migrate-from", "sqlite:FILE", "none",
     "copy the users, categories and cases of FILE into the --db PostgreSQL database, verify them and end",
     takeMigrateFrom},
    {"behind-proxy", "", "off",
     "take the client address from X-Forwarded-For of requests from a loopback address (a proxy on this machine)",
     takeBehindProxy},
    {"quota-bytes", "SIZE", "256M",
     "bytes one account may keep: its texts and category names, 128 more for each (K, M, G suffixes; 0: no bound)",
     takeQuotaBytes},
    {"quota-saves-per-minute", "N", "60",
     "saves of cases, texts and category names one account may make a minute (0: no bound)", takeQuotaSaves},
    {"quota-searches", "N", "1",
     "keyword searches of one account running at once; two more wait their turn, further ones are refused (0: no "
     "bound)",
     takeQuotaSearches},
    {"insecure-http", "", "off",
     "allow plain HTTP on an address other than loopback (passwords and session tokens then cross the network "
     "readable)",
     takeInsecureHttp},
    {"head-deadline", "SECONDS", "5",
     "time a connection has to send its request line and headers, from its opening or its previous request (1..300)",
     takeHeadDeadline},
    {"body-budget", "MIB", "64", "request bodies all connections may hold at once; more are answered 503 (1..65536)",
     takeBodyBudget},
    {"log-client-address", "", "off", "put the client's address in each request's log line", takeLogClientAddress},
    {"metrics-listen", "HOST:PORT", "none",
     "serve GET /metrics (Prometheus text) on this loopback address; port 0 takes any free port (shown at start)",
     takeMetricsListen},
};

const OptionRow* findOption(std::string_view name) {
    for (const OptionRow& row : kOptions)
        if (row.name == name) return &row;
    return nullptr;
}

// One option as given: its row and its value.
struct GivenOption {
    const OptionRow* row;
    std::string value;
    std::string origin;  // where it was given, for messages: "" for the command line, else "FILE:LINE: "
};

constexpr std::size_t kConfigFileLimit = 64 * 1024;

std::string trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r");
    return std::string(text.substr(first, last - first + 1));
}

// The lines of a configuration file as options; false with the reason in error.
bool readConfigFile(const std::string& path, std::vector<GivenOption>& given, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read the configuration file " + path;
        return false;
    }
    std::string text(kConfigFileLimit + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    if (in.bad() || text.size() > kConfigFileLimit || text.find('\0') != std::string::npos) {
        error = path + " is not a configuration file of at most 64 KiB of text";
        return false;
    }
    std::size_t lineNumber = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto end = std::min(text.find('\n', start), text.size());
        const std::string line = trimmed(std::string_view(text).substr(start, end - start));
        start = end + 1;
        ++lineNumber;
        if (line.empty() || line.front() == '#') continue;
        const std::string origin = path + ":" + std::to_string(lineNumber) + ": ";
        const auto equals = line.find('=');
        if (equals == std::string::npos) {
            error = origin + "wants \"key = value\"";
            return false;
        }
        const std::string key = trimmed(std::string_view(line).substr(0, equals));
        const OptionRow* row = findOption(key);
        if (!row) {
            error = origin + "unknown key " + key;
            return false;
        }
        given.push_back({row, trimmed(std::string_view(line).substr(equals + 1)), origin});
    }
    return true;
}

bool isReadableFile(const std::string& path) {
    std::error_code failure;
    if (!std::filesystem::is_regular_file(path, failure)) return false;
    std::ifstream in(path, std::ios::binary);
    return in.good();
}

}  // namespace

std::string serviceHelp() {
    std::string text =
        "usage: qinglan-caseservice [OPTION]...\n"
        "The case service of the Qinglan desktop program: accounts and cloud cases over HTTP(S), kept in\n"
        "one SQLite file or a PostgreSQL database. Options take \"--name value\" or \"--name=value\".\n\n";
    for (const OptionRow& row : kOptions) {
        std::string head = "  --" + std::string(row.name);
        if (!row.valueName.empty()) head += " " + std::string(row.valueName);
        text += head + "\n      " + std::string(row.help) + " (default: " + std::string(row.defaultText) + ")\n";
    }
    text +=
        "  --config FILE\n"
        "      read options from FILE first: one \"key = value\" a line, keys named as the options\n"
        "      without \"--\" (behind-proxy = true), \"#\" starts a comment; the command line wins\n"
        "  --help\n      this text\n"
        "  --version\n      the program's version\n";
    return text;
}

std::string serviceVersion() { return std::string("qinglan-caseservice ") + QINGLAN_VERSION; }

std::optional<ServiceCommand> parseServiceCommand(const std::vector<std::string>& args, std::string& error) {
    ServiceCommand command;
    std::vector<GivenOption> fromCommandLine;
    std::string configFile;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            command.action = ServiceCommand::Action::Help;
            return command;
        }
        if (!arg.starts_with("--")) {
            error = "unexpected argument " + arg;
            return std::nullopt;
        }
        const auto equals = arg.find('=');
        std::string name = arg.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
        std::optional<std::string> value;
        if (equals != std::string::npos) value = arg.substr(equals + 1);

        if (name == "version") {
            // "--version N" once offered an update; the program version is asked without a value.
            const std::string* next = !value && i + 1 < args.size() ? &args[i + 1] : nullptr;
            const std::string& offered = value ? *value : next ? *next : std::string();
            if (!parseInteger(offered)) {
                if (value) {
                    error = "--version takes no value (the offered update is --offer-version N)";
                    return std::nullopt;
                }
                command.action = ServiceCommand::Action::Version;
                return command;
            }
            command.warnings.push_back("--version N is now --offer-version N");
            name = "offer-version";
            if (!value) value = args[++i];
        }
        if (name == "config") {
            if (!value && i + 1 < args.size()) value = args[++i];
            if (!value || value->empty()) {
                error = "missing value after --config";
                return std::nullopt;
            }
            configFile = *value;
            continue;
        }
        const OptionRow* row = findOption(name);
        if (!row) {
            error = "unknown option --" + name;
            return std::nullopt;
        }
        if (row->valueName.empty()) {
            if (value) {
                error = "--" + name + " takes no value";
                return std::nullopt;
            }
            value = "true";
        } else if (!value) {
            if (i + 1 >= args.size()) {
                error = "missing value after --" + name;
                return std::nullopt;
            }
            value = args[++i];
        }
        fromCommandLine.push_back({row, *value, ""});
    }

    std::vector<GivenOption> given;
    if (!configFile.empty() && !readConfigFile(configFile, given, error)) return std::nullopt;
    given.insert(given.end(), fromCommandLine.begin(), fromCommandLine.end());
    for (const GivenOption& option : given) {
        const std::string problem = option.row->take(command.options, option.value);
        if (!problem.empty()) {
            error = option.origin + problem;
            return std::nullopt;
        }
    }

    const ServiceOptions& options = command.options;
    if (options.tlsCertificateFile.empty() != options.tlsKeyFile.empty()) {
        error = "--tls-cert and --tls-key go together";
        return std::nullopt;
    }
    if (!options.tlsPriorities.empty() && options.tlsCertificateFile.empty())
        command.warnings.push_back("--tls-priorities has no effect without --tls-cert and --tls-key");
    if (!options.updateFile.empty() && !isReadableFile(options.updateFile)) {
        error = "cannot read the update file " + options.updateFile;
        return std::nullopt;
    }
    if (options.notice.version > 3 && options.updateFile.empty())
        command.warnings.push_back("--offer-version " + std::to_string(options.notice.version) +
                                   " offers an update but no --update-file is served");
    return command;
}

}  // namespace qinglan::caseservice
