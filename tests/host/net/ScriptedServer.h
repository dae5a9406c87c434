#pragma once

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A loopback HTTP server whose answers a test scripts, for the faults the real server never makes:
// refusals, garbage, truncation, hangs. It records every request it receives.
class ScriptedServer {
public:
    struct Recorded {
        std::string method; // HTTP method
        std::string path;
        std::string body;
        std::string session;       // X-Session
        std::string authorization; // Authorization
    };
    struct Answer {
        int status = 200;
        std::string body;
    };
    using Script = std::function<Answer(const Recorded&)>;

    explicit ScriptedServer(const std::string& host = "127.0.0.1"); // an IPv6 literal bare, e.g. "::1"
    ~ScriptedServer(); // releases a hanging handler, stops and joins

    int port() const { return port_; }

    // Defaults: a session "tok-1" for POST /session, an empty packet for every call.
    Script onSession;
    Script onRpc;
    // The next requests block until the server is destroyed (a server that never answers).
    void hang();

    std::vector<Recorded> requests() const;
    std::vector<Recorded> rpcRequests() const;

    // A JSON-RPC answer carrying the packet (and by-reference values) for the request's id.
    static std::string result(const Recorded& request, const nlohmann::json& packet,
                              const nlohmann::json& out = nullptr);
    static std::string error(const Recorded& request, const std::string& message);
    static nlohmann::json emptyPacket();

private:
    Answer answer(const httplib::Request& request, Script& script);

    httplib::Server server_;
    std::thread thread_;
    int port_ = 0;
    mutable std::mutex mutex_;
    std::condition_variable released_;
    bool hanging_ = false;
    bool stopping_ = false;
    std::vector<Recorded> requests_;
};

// A loopback port that refuses connections: bound, never listening, held while the object lives.
class ClosedPort {
public:
    ClosedPort();
    ~ClosedPort();
    int port() const { return port_; }

private:
    int fd_ = -1;
    int port_ = 0;
};
