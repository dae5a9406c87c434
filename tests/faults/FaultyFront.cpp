#include "FaultyFront.h"

#include <nlohmann/json.hpp>

#include <chrono>
#include <thread>

std::string methodOf(const std::string& body) {
    const auto doc = nlohmann::json::parse(body, nullptr, false);
    if (!doc.is_object() || !doc.contains("method") || !doc["method"].is_string())
        return {};
    return doc["method"].get<std::string>();
}

FaultyFront::FaultyFront(int realPort) : realPort_(realPort) {
    front_.onSession = [this](const ScriptedServer::Recorded& request) { return pass(request, "/session"); };
    front_.onRpc = [this](const ScriptedServer::Recorded& request) {
        const std::string method = methodOf(request.body);
        Fault fault;
        int wait = 0;
        {
            std::lock_guard lock(mutex_);
            if (const auto found = faults_.find(method); found != faults_.end())
                fault = found->second;
            if (const auto found = delays_.find(method); found != delays_.end())
                wait = found->second;
        }
        if (wait > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(wait));
        {
            std::unique_lock lock(mutex_);
            if (hangs_.count(method)) {
                released_.wait(lock, [&] { return releasing_ || !hangs_.count(method); });
                return ScriptedServer::Answer{503, R"({"error":"liberada"})"};
            }
        }
        const ScriptedServer::Answer real = pass(request, "/rpc");
        return fault ? fault(real) : real;
    };
}

FaultyFront::~FaultyFront() {
    {
        std::lock_guard lock(mutex_);
        releasing_ = true;
    }
    released_.notify_all();
}

void FaultyFront::hang(const std::string& method) {
    std::lock_guard lock(mutex_);
    hangs_[method] = true;
}

void FaultyFront::arm(const std::string& method, Fault fault) {
    std::lock_guard lock(mutex_);
    faults_[method] = std::move(fault);
}

void FaultyFront::delay(const std::string& method, int milliseconds) {
    std::lock_guard lock(mutex_);
    delays_[method] = milliseconds;
}

void FaultyFront::disarm() {
    std::lock_guard lock(mutex_);
    faults_.clear();
    delays_.clear();
    hangs_.clear();
    released_.notify_all();
}

std::vector<std::string> FaultyFront::methods() const {
    std::vector<std::string> names;
    for (const auto& request : front_.rpcRequests())
        names.push_back(methodOf(request.body));
    return names;
}

ScriptedServer::Answer FaultyFront::pass(const ScriptedServer::Recorded& request, const std::string& path) {
    httplib::Client real("127.0.0.1", realPort_);
    real.set_read_timeout(20, 0);
    httplib::Headers headers;
    if (!request.session.empty())
        headers.emplace("X-Session", request.session);
    if (!request.authorization.empty())
        headers.emplace("Authorization", request.authorization);
    const auto response = real.Post(path, headers, request.body, "application/json");
    if (!response)
        return {502, R"({"error":"servidor real inacessível"})"};
    return {response->status, response->body};
}
