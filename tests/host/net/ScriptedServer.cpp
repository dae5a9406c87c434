#include "ScriptedServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

using nlohmann::json;

ScriptedServer::ScriptedServer(const std::string& host) {
    onSession = [](const Recorded&) { return Answer{200, R"({"session":"tok-1"})"}; };
    onRpc = [](const Recorded& request) { return Answer{200, result(request, emptyPacket())}; };
    server_.set_tcp_nodelay(true);
    const auto handle = [this](Script& script) {
        return [this, &script](const httplib::Request& request, httplib::Response& response) {
            const Answer reply = answer(request, script);
            response.status = reply.status;
            response.set_content(reply.body, "application/json");
        };
    };
    server_.Post("/session", handle(onSession));
    server_.Post("/rpc", handle(onRpc));
    server_.Delete(R"(/session/.*)", [this](const httplib::Request& request, httplib::Response& response) {
        std::lock_guard lock(mutex_);
        requests_.push_back({request.method, request.path, request.body,
                             request.get_header_value("X-Session"),
                             request.get_header_value("Authorization")});
        response.status = 204;
    });
    port_ = server_.bind_to_any_port(host);
    if (port_ <= 0)
        throw std::runtime_error("scripted server: no free port");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    while (!server_.is_running())
        std::this_thread::yield();
}

ScriptedServer::~ScriptedServer() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    released_.notify_all();
    server_.stop();
    thread_.join();
}

void ScriptedServer::hang() {
    std::lock_guard lock(mutex_);
    hanging_ = true;
}

ScriptedServer::Answer ScriptedServer::answer(const httplib::Request& request, Script& script) {
    Recorded recorded{request.method, request.path, request.body, request.get_header_value("X-Session"),
                      request.get_header_value("Authorization")};
    {
        std::unique_lock lock(mutex_);
        requests_.push_back(recorded);
        if (hanging_) {
            released_.wait(lock, [this] { return stopping_; });
            return {503, {}};
        }
    }
    return script(recorded);
}

std::vector<ScriptedServer::Recorded> ScriptedServer::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

std::vector<ScriptedServer::Recorded> ScriptedServer::rpcRequests() const {
    std::vector<Recorded> calls;
    for (const auto& request : requests())
        if (request.path == "/rpc")
            calls.push_back(request);
    return calls;
}

std::string ScriptedServer::result(const Recorded& request, const json& packet, const json& out) {
    json answer = {
        {"jsonrpc", "2.0"}, {"id", json::parse(request.body).at("id")}, {"result", {{"packet", packet}}}};
    if (!out.is_null())
        answer["result"]["out"] = out;
    return answer.dump();
}

std::string ScriptedServer::error(const Recorded& request, const std::string& message) {
    return json{{"jsonrpc", "2.0"},
                {"id", json::parse(request.body).at("id")},
                {"error", {{"code", -32000}, {"message", message}}}}
        .dump();
}

json ScriptedServer::emptyPacket() {
    return {{"fields", json::array()}, {"rows", json::array()}};
}

ClosedPort::ClosedPort() {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("closed port: cannot bind");
    port_ = ntohs(address.sin_port);
}

ClosedPort::~ClosedPort() {
    if (fd_ >= 0)
        ::close(fd_);
}
