#pragma once

#include "server/http/HeadCheck.h"
#include "server/http/HttpTypes.h"

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>

namespace server::http {

struct TransportConfig {
    HeadLimits limits;
    std::chrono::milliseconds requestTimeout{10000}; // a request's first byte to its last
    std::chrono::milliseconds idleTimeout{60000};    // a kept-alive connection between requests
    std::chrono::milliseconds linger{1000};          // draining after an early refusal
    std::size_t maxRequestsPerConnection = 10000;
    std::size_t maxConnections = 2048;
    int workers = 8; // threads, each serving its share of the connections from read to answer
};

// HTTP/1.1 over asynchronous sockets: a connection costs no thread until a whole request is in, a
// request is answered before the next one on its connection is read (pipelined ones in order), and
// every limit of the config is enforced before the handler sees a byte.
class Transport {
public:
    Transport(Handler& handler, TransportConfig config);
    ~Transport();
    Transport(const Transport&) = delete;
    Transport& operator=(const Transport&) = delete;

    // Host as a name, an IPv4 literal or an IPv6 literal with or without brackets; port 0 takes any
    // free port. Returns the real port; std::runtime_error when it cannot be bound.
    int bind(const std::string& host, int port);
    // Serves until stop(); call after bind().
    void run();
    void stop();
    bool running() const;

    struct Impl; // defined, with the connections that use it, in Transport.cpp only

private:
    std::unique_ptr<Impl> impl_;
};

// Raises this process's open-file limit to its hard maximum, so a flood of connections never leaves
// the listener unable to accept. Returns the limit now in force.
long raiseOpenFileLimit();

} // namespace server::http
