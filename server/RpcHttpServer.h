#pragma once

#include "server/http/Transport.h"

#include <chrono>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>

namespace server {

class RemoteDataModule;

// The wire: POST /session, DELETE /session/<token>, POST /rpc with X-Session and GET /health, over
// the HTTP transport.
class RpcHttpServer {
public:
    struct Config {
        std::optional<std::string> secret; // every request must carry "Authorization: Bearer <secret>"
        std::chrono::seconds sessionIdle{1800};
        std::size_t maxSessions = 64;
        std::chrono::seconds sessionGrace{60};   // a full table reclaims a session idle longer than this
        std::size_t maxSessionsPerAddress = 0;   // 0: no cap
        std::optional<std::string> sessionsUrl;  // sessions shared in this PostgreSQL database
        std::optional<std::string> trustedProxy; // X-Forwarded-For is believed from this address only
        int threads = 8;                         // threads serving requests
        bool log = true;                         // one line per request on standard error
        http::TransportConfig transport;         // limits, time-outs, connections
    };

    // Throws SessionStoreError when the sessions' database cannot be reached or prepared.
    RpcHttpServer(RemoteDataModule& module, Config config);
    ~RpcHttpServer();
    RpcHttpServer(const RpcHttpServer&) = delete;
    RpcHttpServer& operator=(const RpcHttpServer&) = delete;

    // Binds and listens; port 0 takes any free port. Returns the real port; throws
    // std::runtime_error when the address cannot be bound.
    int bind(const std::string& host, int port);
    // Serves until stop(); call after bind().
    void run();
    void stop();
    bool running() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace server
