#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>

namespace server {

class RemoteDataModule;

// The wire: POST /session, DELETE /session/<token>, POST /rpc with X-Session, over cpp-httplib.
class RpcHttpServer {
public:
    struct Config {
        std::optional<std::string> secret; // every request must carry "Authorization: Bearer <secret>"
        std::chrono::seconds sessionIdle{1800};
        std::size_t maxSessions = 64;
        int threads = 32;
        bool log = true; // one line per request on standard error
    };

    RpcHttpServer(RemoteDataModule& module, Config config);
    ~RpcHttpServer();
    RpcHttpServer(const RpcHttpServer&) = delete;
    RpcHttpServer& operator=(const RpcHttpServer&) = delete;

    // Binds and listens; port 0 takes any free port. Returns the real port; throws
    // std::runtime_error when the address cannot be bound.
    int bind(const std::string& host, int port);
    // Accepts connections until stop(); call after bind().
    void run();
    void stop();
    bool running() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace server
