#include "audit/audit_log.h"

#include <gtest/gtest.h>

namespace qinglan::caseservice {
namespace {

TEST(AuditLog, NetworksGroupIpv4By24AndKeepIpv6Keys) {
    const std::pair<const char*, const char*> cases[] = {
        {"192.0.2.77", "192.0.2.0/24"},
        {"10.1.255.1", "10.1.255.0/24"},
        {"2001:db8:1:2::/64", "2001:db8:1:2::/64"},
        {"?", "?"},
    };
    for (const auto& [address, network] : cases) EXPECT_EQ(networkOf(address), network) << address;
}

TEST(AuditLog, MetricsCountEachEventInPrometheusFormat) {
    const auto before = auditEventCount(AuditEvent::QuotaRefused);
    recordAuditEvent(AuditEvent::QuotaRefused, "198.51.100.0/24\nforged line", "saves per minute");
    EXPECT_EQ(auditEventCount(AuditEvent::QuotaRefused), before + 1);
    const std::string text = metricsText("extra_gauge 1\n");
    EXPECT_NE(text.find("# TYPE qinglan_caseservice_events_total counter\n"), std::string::npos);
    EXPECT_NE(text.find("qinglan_caseservice_events_total{event=\"quota_refused\"} " + std::to_string(before + 1) + "\n"),
              std::string::npos);
    EXPECT_TRUE(text.ends_with("extra_gauge 1\n"));
}

}  // namespace
}  // namespace qinglan::caseservice
