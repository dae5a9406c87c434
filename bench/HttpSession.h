#pragma once

#include "protocol/Packet.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace bench {

// A failed request: no answer, an HTTP refusal or an answer carrying an error member.
class CallFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// No answer or an HTTP refusal: the connection or the session is gone, and like the screen's
// connection nothing here reconnects, so the session can make no further call.
class SessionLost : public CallFailure {
public:
    using CallFailure::CallFailure;
};

// No answer at all: the server is unreachable or died, not merely refusing one session.
class ServerUnreachable : public SessionLost {
public:
    using SessionLost::SessionLost;
};

// What a server started elsewhere may demand of its clients, and how long to wait for it.
struct ServerAccess {
    std::string secret;      // sent as "Authorization: Bearer <secret>" when not empty
    int timeoutSeconds = 30; // to connect (5 s at most), and for each answer
};

// A call's parameters as the protocol sends them: texts, integers, numbers, the rest null.
std::vector<proto::Value> paramValues(const nlohmann::json& params);
// What a refused request says: "<what>: HTTP <status>", and for 401 what to do about the secret.
std::string refusalText(const std::string& what, int status, bool secretSent);
// The packet of the answer body to call `id` of `method`; throws CallFailure when the body cannot be
// read or carries an error.
proto::Packet answeredPacket(const std::string& method, const std::string& body, std::int64_t id);

// A session on the application server as the screen's connection makes it: one kept-alive
// connection, no delayed acks, requests written as the connection writes them.
class HttpSession {
public:
    // Opens the session; throws CallFailure when it is refused, ServerUnreachable when nothing answers.
    HttpSession(const std::string& host, int port, const ServerAccess& access = {});
    // Closes a session still open and ignores the outcome: use close() to see it.
    ~HttpSession();
    HttpSession(const HttpSession&) = delete;
    HttpSession& operator=(const HttpSession&) = delete;

    // The answer's packet as JSON; throws CallFailure, SessionLost when HTTP refused the call,
    // ServerUnreachable when no answer came.
    nlohmann::json call(const std::string& method, const nlohmann::json& params);
    // The same answer's packet as the protocol read and checked it, for a caller that needs no JSON.
    proto::Packet callPacket(const std::string& method, const nlohmann::json& params);
    nlohmann::json operator()(const std::string& method, const nlohmann::json& params) {
        return call(method, params);
    }

    // DELETE /session/<token>; throws CallFailure when the server does not confirm it.
    void close();
    // Leaves the session open on the server, to expire there, and drops the connection.
    void abandon();

private:
    httplib::Client client_;
    std::string token_;
    httplib::Headers headers_; // the secret's, then the session's
    bool secretSent_ = false;
    std::int64_t id_ = 0;
};

} // namespace bench
