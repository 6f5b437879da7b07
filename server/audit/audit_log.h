// What an attack leaves behind: one line on standard error for each refusal or cut-off (with
// the client's network, never a name or a text), and a counter per kind of event for
// GET /metrics. Everything here is safe to call from any thread.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qinglan::caseservice {

enum class AuditEvent {
    LoginThrottled,        // a login or registration refused by the throttle
    ConnectionRefused,     // a new connection turned away: its network or the table is full
    ConnectionCut,         // a connection closed for being too slow or to make room
    BodyBudgetRefused,     // a request body refused: the bodies in flight use the whole budget
    QuotaRefused,          // an account's quota reached (bytes stored, saves per minute, searches)
    PasswordQueueFull,     // a password check refused: its queue is full
};

inline constexpr int kAuditEventCount = 6;

// The event's name as the log and the metrics show it, e.g. "connection_cut".
std::string_view auditEventName(AuditEvent event);

// Counts the event and writes one line: "qinglan-caseservice: audit EVENT network=NETWORK[ DETAIL]".
// The detail is a short fixed text of ours (e.g. "head deadline"); it is made printable.
void recordAuditEvent(AuditEvent event, std::string_view network, std::string_view detail = {});

std::uint64_t auditEventCount(AuditEvent event);

// The counters in the Prometheus text format, followed by `extra` (further lines of the same
// format, e.g. gauges the transport keeps).
std::string metricsText(std::string_view extra = {});

// The network an address belongs to, as throttles and caps group clients: an IPv4 address
// "a.b.c.d" as "a.b.c.0/24"; an IPv6 key (already by /64, "x::/64") as it is; anything else
// as it is.
std::string networkOf(std::string_view addressKey);

}  // namespace qinglan::caseservice
