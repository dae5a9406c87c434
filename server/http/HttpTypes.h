#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace server::http {

using Fields = std::vector<std::pair<std::string, std::string>>;

// A request head that passed the checks, as the HTTP parser read it.
struct Head {
    std::string method;
    std::string target;
    Fields fields;
    std::string peer; // the connection's remote address, without port
    bool hasBody = false;

    // The first field of that name (case-insensitive), or null.
    const std::string* field(std::string_view name) const;
    // The last field of that name, or null: what a proxy in front appended, when it appends.
    const std::string* lastField(std::string_view name) const;
};

struct Answer {
    int status = 200;
    std::string body;
    std::string contentType = "application/json";
    Fields headers;
    bool close = false;  // the connection ends after this answer
    std::string logWhat; // what the access log says was asked (the method called), before the time
    std::string logNote; // what the access log says about the outcome; never sent
};

// What the transport hands requests to, from any of its threads and from several at once. admit()
// runs once the head is in and checked, before a byte of the body is read: an answer refuses the
// request and its body is never read. answer() runs with the whole body, on the thread that read
// it. refusal() shapes the transport's own answers (400, 408, 413, 431, 503). logged() sees every
// answer sent, with its request's head when there was one.
class Handler {
public:
    virtual ~Handler() = default;
    virtual std::optional<Answer> admit(const Head& head) = 0;
    virtual Answer answer(const Head& head, std::string body) = 0;
    virtual Answer refusal(int status, const std::string& reason) = 0;
    virtual void logged(const Head* head, const Answer& answer, double elapsedMs) = 0;
};

} // namespace server::http
