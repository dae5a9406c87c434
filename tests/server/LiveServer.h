#pragma once

#include "server/RemoteDataModule.h"
#include "server/RpcHttpServer.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <memory>
#include <optional>
#include <string>
#include <thread>

// The server in this process on a free loopback port over a database file; stopped and joined when
// the object goes.
class LiveServer {
public:
    explicit LiveServer(const std::string& databasePath, server::RpcHttpServer::Config config = quiet());
    ~LiveServer();
    LiveServer(const LiveServer&) = delete;
    LiveServer& operator=(const LiveServer&) = delete;

    int port() const { return port_; }
    std::unique_ptr<httplib::Client> client(const std::optional<std::string>& secret = std::nullopt) const;

    static server::RpcHttpServer::Config quiet();

private:
    server::RemoteDataModule module_;
    server::RpcHttpServer http_;
    int port_ = 0;
    std::thread thread_;
};

// One session on the server: opens on construction, closes on destruction.
class RpcSession {
public:
    explicit RpcSession(const LiveServer& server, const std::optional<std::string>& secret = std::nullopt);
    ~RpcSession();
    RpcSession(const RpcSession&) = delete;
    RpcSession& operator=(const RpcSession&) = delete;

    // The decoded answer: the "result" or the "error" object.
    nlohmann::json call(const std::string& method, const nlohmann::json& params);
    // Rows of a successful call; fails the test on an error answer.
    nlohmann::json rows(const std::string& method, const nlohmann::json& params);
    httplib::Result post(const std::string& body);
    const std::string& token() const { return token_; }

private:
    std::unique_ptr<httplib::Client> client_;
    std::string token_;
    int nextId_ = 1;
};

// The field names of a packet, in order.
std::vector<std::string> fieldNames(const nlohmann::json& packet);
