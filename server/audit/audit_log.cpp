#include "audit/audit_log.h"

#include <arpa/inet.h>

#include <array>
#include <atomic>
#include <cstdio>

namespace qinglan::caseservice {

namespace {

std::array<std::atomic<std::uint64_t>, kAuditEventCount>& counters() {
    static std::array<std::atomic<std::uint64_t>, kAuditEventCount> values{};
    return values;
}

// At most 80 printable ASCII characters: a network or detail can never forge or flood a line.
void appendPrintable(std::string& line, std::string_view text) {
    for (const char c : text.substr(0, 80)) line += c > ' ' && c < 0x7f ? c : '?';
}

}  // namespace

std::string_view auditEventName(AuditEvent event) {
    switch (event) {
    case AuditEvent::LoginThrottled: return "login_throttled";
    case AuditEvent::ConnectionRefused: return "connection_refused";
    case AuditEvent::ConnectionCut: return "connection_cut";
    case AuditEvent::BodyBudgetRefused: return "body_budget_refused";
    case AuditEvent::QuotaRefused: return "quota_refused";
    case AuditEvent::PasswordQueueFull: return "password_queue_full";
    }
    return "unknown";
}

void recordAuditEvent(AuditEvent event, std::string_view network, std::string_view detail) {
    counters()[static_cast<std::size_t>(event)].fetch_add(1, std::memory_order_relaxed);
    std::string line = "qinglan-caseservice: audit ";
    line += auditEventName(event);
    line += " network=";
    appendPrintable(line, network.empty() ? std::string_view("?") : network);
    if (!detail.empty()) {
        line += ' ';
        for (const char c : detail.substr(0, 80)) line += c >= ' ' && c < 0x7f ? c : '?';
    }
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stderr);  // one write: parallel lines never mix
}

std::uint64_t auditEventCount(AuditEvent event) {
    return counters()[static_cast<std::size_t>(event)].load(std::memory_order_relaxed);
}

std::string metricsText(std::string_view extra) {
    std::string text =
        "# HELP qinglan_caseservice_events_total Refusals and cut-offs since the service started, by kind.\n"
        "# TYPE qinglan_caseservice_events_total counter\n";
    for (int i = 0; i < kAuditEventCount; ++i) {
        const auto event = static_cast<AuditEvent>(i);
        text += "qinglan_caseservice_events_total{event=\"";
        text += auditEventName(event);
        text += "\"} " + std::to_string(auditEventCount(event)) + '\n';
    }
    text += extra;
    return text;
}

std::string networkOf(std::string_view addressKey) {
    const std::string text(addressKey);
    in_addr v4{};
    if (inet_pton(AF_INET, text.c_str(), &v4) != 1) return text;
    const std::uint32_t network = ntohl(v4.s_addr) & 0xffffff00u;
    return std::to_string(network >> 24) + '.' + std::to_string((network >> 16) & 0xff) + '.' +
           std::to_string((network >> 8) & 0xff) + ".0/24";
}

}  // namespace qinglan::caseservice
