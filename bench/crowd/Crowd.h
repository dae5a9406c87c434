#pragma once

#include "protocol/HostPort.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <thread>

namespace crowd {

// The hostile crowd a server must shrug off: connections that never send a byte, and connections
// that trickle a request head a byte at a time.
struct CrowdPlan {
    proto::HostPort target;
    int idle = 1000;
    int slow = 100;
    std::chrono::milliseconds byteInterval{1000}; // between two bytes of a slow connection
    std::chrono::milliseconds connectTimeout{5000};
};

struct CrowdCounts {
    int idleOpen = 0; // established and not closed by the server
    int slowOpen = 0;
    long reopened = 0; // closed by the server and opened again
    long failed = 0;   // connection attempts refused or timed out
    long bytesSent = 0;
};

// Holds the crowd's connections on one thread of its own, polling them all: each one the server
// closes is opened again on the next tick, so the crowd stays as large as the server lets it be.
class Crowd {
public:
    // Throws std::runtime_error in Portuguese when the target's address cannot be resolved.
    explicit Crowd(const CrowdPlan& plan);
    ~Crowd();
    Crowd(const Crowd&) = delete;
    Crowd& operator=(const Crowd&) = delete;

    // Waits until every connection is established, or the time is up; answers the counts then.
    CrowdCounts waitOpen(std::chrono::milliseconds limit) const;
    CrowdCounts counts() const;

private:
    void run();

    CrowdPlan plan_;
    std::array<unsigned char, 128> address_{}; // a sockaddr_storage's worth
    unsigned addressLength_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<int> idleOpen_{0}, slowOpen_{0};
    std::atomic<long> reopened_{0}, failed_{0}, bytesSent_{0};
    std::thread thread_;
};

// Raises this process's open-file limit to its hard maximum; answers the limit now in force.
std::size_t raiseOpenFileLimit();

} // namespace crowd
