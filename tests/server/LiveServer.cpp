#include "LiveServer.h"

#include "protocol/Wire.h"

#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>

LiveServer::LiveServer(const std::string& databasePath, server::RpcHttpServer::Config config)
    : module_(databasePath), http_(module_, std::move(config)) {
    port_ = http_.bind("127.0.0.1", 0);
    thread_ = std::thread([this] { http_.run(); });
    // Connections queue in the listening socket already; waiting here only makes stop() reliable.
    while (!http_.running())
        std::this_thread::yield();
}

LiveServer::~LiveServer() {
    http_.stop();
    thread_.join();
}

server::RpcHttpServer::Config LiveServer::quiet() {
    server::RpcHttpServer::Config config;
    config.log = false;
    config.threads = 8;
    return config;
}

std::unique_ptr<httplib::Client> LiveServer::client(const std::optional<std::string>& secret) const {
    auto client = std::make_unique<httplib::Client>("127.0.0.1", port_);
    client->set_tcp_nodelay(true);
    client->set_keep_alive(true);
    if (secret)
        client->set_bearer_token_auth(*secret);
    return client;
}

RpcSession::RpcSession(const LiveServer& server, const std::optional<std::string>& secret)
    : client_(server.client(secret)) {
    const auto res =
        client_->Post(proto::kSessionPath, R"({"server":"KDR60251.rdmAnalRestCont"})", "application/json");
    if (!res || res->status != 200)
        throw std::runtime_error("session refused");
    token_ = nlohmann::json::parse(res->body).at("session").get<std::string>();
}

RpcSession::~RpcSession() {
    client_->Delete(std::string(proto::kSessionPath) + "/" + token_);
}

httplib::Result RpcSession::post(const std::string& body) {
    return client_->Post(proto::kRpcPath, {{proto::kSessionHeader, token_}}, body, "application/json");
}

nlohmann::json RpcSession::call(const std::string& method, const nlohmann::json& params) {
    const nlohmann::json request{
        {"jsonrpc", "2.0"}, {"id", nextId_++}, {"method", method}, {"params", params}};
    const auto res = post(request.dump());
    if (!res)
        throw std::runtime_error("no answer");
    if (res->status != 200)
        throw std::runtime_error("HTTP " + std::to_string(res->status) + ": " + res->body);
    const auto answer = nlohmann::json::parse(res->body);
    if (answer.contains("error"))
        return answer.at("error");
    return answer.at("result");
}

nlohmann::json RpcSession::rows(const std::string& method, const nlohmann::json& params) {
    const auto answer = call(method, params);
    EXPECT_TRUE(answer.contains("packet")) << method << ": " << answer.dump();
    if (!answer.contains("packet"))
        return nlohmann::json::array();
    return answer.at("packet").at("rows");
}

std::vector<std::string> fieldNames(const nlohmann::json& packet) {
    std::vector<std::string> names;
    for (const auto& field : packet.at("fields"))
        names.push_back(field.at("name").get<std::string>());
    return names;
}
