#pragma once

#include "HttpSession.h"
#include "protocol/Packet.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace check {

// One call of a batch: a method and its parameters.
struct Call {
    std::string method;
    nlohmann::json params;
};

// A session on the application server whose calls go out together: a batch is written in one go
// on one kept-alive connection and its answers are read back in order (HTTP/1.1 pipelining), so
// that a service's eleven summaries cost one round trip instead of eleven. The answers are read as
// hostile: bounded in size and in time. When the server ends the connection part way (its request
// limit per connection), the unanswered calls go again on a new one: the session is the token, not
// the connection, and the methods only read.
//
// Failures as bench::HttpSession's: CallFailure for an error answer, SessionLost for an HTTP
// refusal, ServerUnreachable when nothing answers.
class PipelinedSession {
public:
    // The host as proto::parseHostPort answers it: an IPv6 literal bare.
    PipelinedSession(const std::string& host, int port, const bench::ServerAccess& access = {});
    // Closes the session, ignoring the outcome.
    ~PipelinedSession();
    PipelinedSession(const PipelinedSession&) = delete;
    PipelinedSession& operator=(const PipelinedSession&) = delete;

    // The answers' packets, in the calls' order. `meanwhile`, when given, runs once the first calls
    // are sent, before any answer is read: the caller's own work overlaps the server's.
    std::vector<proto::Packet> call(const std::vector<Call>& calls,
                                    const std::function<void()>& meanwhile = {});

    // The most of an answer this session reads (head and body) before it gives up on the server.
    static constexpr std::size_t kMaxAnswerBytes = 64 * 1024 * 1024;

private:
    struct Answer {
        int status = 0;
        bool close = false;
        std::string body;
    };

    void connect();
    void disconnect() noexcept;
    // False when the server had closed the connection already.
    bool sendAll(const std::string& bytes);
    // The next answer on the connection; nothing when the server closed it before one began.
    std::optional<Answer> readAnswer();
    std::string head(const char* method, const std::string& target, std::size_t bodyBytes) const;
    std::string refusal(const std::string& what, const Answer& answer) const;

    std::string host_;
    int port_;
    bench::ServerAccess access_;
    int fd_ = -1;
    std::string in_; // read, not yet taken by an answer
    std::string token_;
    std::int64_t id_ = 0;
};

} // namespace check
