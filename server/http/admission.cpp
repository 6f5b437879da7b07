#include "http/admission.h"

#include "audit/audit_log.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>

#include <algorithm>
#include <vector>

namespace qinglan::caseservice {

bool Admission::mayOpen(const std::string& network, bool capped) {
    if (!capped) return true;
    {
        std::lock_guard lock(mutex_);
        const auto found = unfinishedByNetwork_.find(network);
        if (found == unfinishedByNetwork_.end() || found->second < limits_.unfinishedPerNetwork) return true;
    }
    recordAuditEvent(AuditEvent::ConnectionRefused, network, "unfinished connections of the network");
    return false;
}

void Admission::opened(Key key, int fd, const std::string& network, bool capped) {
    std::lock_guard lock(mutex_);
    Entry& entry = entries_[key];
    entry = Entry{};
    entry.fd = fd;
    entry.network = network;
    entry.capped = capped;
    startWaiting(key, entry);
    while (unfinished_.size() > limits_.unfinished) cut(entries_.at(unfinished_.begin()->second), "oldest unfinished");
}

void Admission::closed(Key key) {
    std::lock_guard lock(mutex_);
    const auto found = entries_.find(key);
    if (found == entries_.end()) return;
    stopWaiting(found->second);
    entries_.erase(found);
}

void Admission::headComplete(Key key) {
    std::lock_guard lock(mutex_);
    const auto found = entries_.find(key);
    if (found != entries_.end() && found->second.stage == Stage::Head) found->second.stage = Stage::Body;
}

void Admission::answering(Key key) {
    std::lock_guard lock(mutex_);
    const auto found = entries_.find(key);
    if (found == entries_.end()) return;
    stopWaiting(found->second);
    found->second.stage = Stage::Answering;
}

void Admission::requestDone(Key key) {
    std::lock_guard lock(mutex_);
    const auto found = entries_.find(key);
    if (found == entries_.end() || found->second.cut) return;
    stopWaiting(found->second);
    found->second.served = true;
    startWaiting(key, found->second);
}

void Admission::cutOverdue(Clock::time_point now) {
    const auto shortest = std::min(limits_.headDeadline, limits_.requestDeadline);
    std::lock_guard lock(mutex_);
    cutAbandoned();
    for (auto at = unfinished_.begin(); at != unfinished_.end();) {
        Entry& entry = entries_.at(at->second);
        ++at;  // cut() removes the entry from unfinished_
        const auto waited = now - entry.since;
        if (waited < shortest) break;  // the rest came later still
        // A kept-alive connection idle past the deadline is closed without an audit line:
        // that is how clients leave, not an attack.
        if (entry.stage == Stage::Head && waited >= limits_.headDeadline)
            cut(entry, entry.served ? nullptr : "head deadline");
        else if (waited >= limits_.requestDeadline)
            cut(entry, "request deadline");
    }
}

void Admission::cutAbandoned() {
    std::vector<pollfd> watched;
    std::vector<Entry*> entries;
    for (const auto& [order, key] : unfinished_) {
        Entry& entry = entries_.at(key);
        if (entry.fd < 0) continue;
        watched.push_back({entry.fd, POLLRDHUP, 0});
        entries.push_back(&entry);
    }
    if (watched.empty() || ::poll(watched.data(), watched.size(), 0) <= 0) return;
    for (std::size_t i = 0; i < watched.size(); ++i) {
        int unread = 0;
        if ((watched[i].revents & (POLLRDHUP | POLLHUP | POLLERR)) && ::ioctl(watched[i].fd, FIONREAD, &unread) == 0 &&
            unread == 0)
            cut(*entries[i], nullptr);
    }
}

std::size_t Admission::openCount() const {
    std::lock_guard lock(mutex_);
    return entries_.size();
}

std::size_t Admission::unfinishedCount() const {
    std::lock_guard lock(mutex_);
    return unfinished_.size();
}

void Admission::startWaiting(Key key, Entry& entry) {
    entry.stage = Stage::Head;
    entry.since = Clock::now();
    entry.order = nextOrder_++;
    unfinished_.emplace(entry.order, key);
    // A kept-alive connection waiting for its next request is left out of its network's count
    // (clients behind one address keep several); the cap in all still holds it.
    entry.countedInNetwork = !entry.served;
    if (entry.countedInNetwork) ++unfinishedByNetwork_[entry.network];
}

void Admission::stopWaiting(Entry& entry) {
    if (entry.order == 0) return;
    unfinished_.erase(entry.order);
    entry.order = 0;
    if (!entry.countedInNetwork) return;
    entry.countedInNetwork = false;
    const auto count = unfinishedByNetwork_.find(entry.network);
    if (count != unfinishedByNetwork_.end() && --count->second == 0) unfinishedByNetwork_.erase(count);
}

void Admission::cut(Entry& entry, const char* why) {
    stopWaiting(entry);
    entry.cut = true;
    if (why) recordAuditEvent(AuditEvent::ConnectionCut, entry.network, why);
    // The library closes the connection when its socket fails; the descriptor is still its
    // own here, since a closed connection has already left the table.
    if (entry.fd >= 0) ::shutdown(entry.fd, SHUT_RDWR);
}

}  // namespace qinglan::caseservice
