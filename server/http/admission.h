// Which connections may stay open. A connection is "unfinished" while its request is still
// arriving: from its opening (or the end of its previous request) until its head and body are
// complete. Unfinished connections are what slow clients hold the table with, so they are
// capped per network and in all; the rest of the library's connection table stays free for
// connections whose request is complete and being answered. A full table makes room by cutting
// the oldest unfinished connection, so a client that sends its request at once always gets in.
// Every refusal and cut writes one audit line with the network.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <unordered_map>

namespace qinglan::caseservice {

struct AdmissionLimits {
    unsigned unfinishedPerNetwork = 32;
    unsigned unfinished = 512;
    std::chrono::milliseconds headDeadline{5000};      // opening (or previous request's end) to a complete head
    std::chrono::milliseconds requestDeadline{30000};  // the same to a complete body
};

class Admission {
public:
    using Clock = std::chrono::steady_clock;
    using Key = const void*;  // the library's connection

    explicit Admission(AdmissionLimits limits) : limits_(limits) {}

    // Before a connection is taken: false, with an audit line, when its network already has all
    // the unfinished connections it may have. capped = false exempts it (a local proxy's
    // connections carry many clients, so only the cap in all applies to them).
    bool mayOpen(const std::string& network, bool capped);
    // A connection taken; when the unfinished ones are then too many, the oldest is cut.
    void opened(Key key, int fd, const std::string& network, bool capped);
    void closed(Key key);
    // Its request head has arrived; the body may still be coming.
    void headComplete(Key key);
    // Its request is complete (or answered early): it no longer counts as unfinished.
    void answering(Key key);
    // Its request is over; the connection now waits for the next one.
    void requestDone(Key key);
    // Cuts every unfinished connection past its deadline, and closes those whose client has
    // gone with its request incomplete (the library may not notice an end of stream that came
    // with the last of the data until its idle timeout).
    void cutOverdue(Clock::time_point now = Clock::now());

    std::size_t openCount() const;
    std::size_t unfinishedCount() const;

private:
    enum class Stage { Head, Body, Answering };
    struct Entry {
        int fd = -1;
        std::string network;
        bool capped = true;
        Stage stage = Stage::Head;
        Clock::time_point since;
        std::uint64_t order = 0;  // its place among the unfinished; 0 when it is not one
        bool cut = false;
        bool served = false;  // it has had a request answered
        bool countedInNetwork = false;
    };
    void startWaiting(Key key, Entry& entry);
    void stopWaiting(Entry& entry);
    void cutAbandoned();
    void cut(Entry& entry, const char* why);  // why: for the audit line; nullptr: none

    const AdmissionLimits limits_;
    mutable std::mutex mutex_;
    std::unordered_map<Key, Entry> entries_;
    std::map<std::uint64_t, Key> unfinished_;  // oldest first
    std::unordered_map<std::string, unsigned> unfinishedByNetwork_;
    std::uint64_t nextOrder_ = 1;
};

}  // namespace qinglan::caseservice
