#pragma once

#include "ServerProcess.h"

#include <chrono>
#include <memory>
#include <string>
#include <vector>

// Raw loopback sockets for the tests that send what no HTTP library will: broken framing, endless
// heads, a byte a second, pipelined requests.
class RawConnection {
public:
    // Connects to 127.0.0.1:port from `source` (any 127.x.y.z) when given; check connected().
    explicit RawConnection(int port, const char* source = nullptr);
    ~RawConnection();
    RawConnection(const RawConnection&) = delete;
    RawConnection& operator=(const RawConnection&) = delete;

    bool connected() const { return fd_ >= 0; }
    bool send(const std::string& bytes);
    // Everything until the server closes or `limit` passes.
    std::string readToClose(std::chrono::milliseconds limit = std::chrono::seconds(10));
    // One whole answer (head and Content-Length body), or what came before `limit`.
    std::string readAnswer(std::chrono::milliseconds limit = std::chrono::seconds(10));
    // True when the server has closed its side (a read returns end of file or a reset).
    bool closedByServer(std::chrono::milliseconds limit = std::chrono::seconds(5));

private:
    int fd_ = -1;
    std::string pending_;
};

// The status of an HTTP answer's text, or -1.
int statusOf(const std::string& answer);
// The "error" text of an answer whose body is {"error": ...}, or "".
std::string errorTextOf(const std::string& answer);
// A request with a Content-Length body.
std::string request(const std::string& method, const std::string& target, const std::string& body = {},
                    const std::vector<std::string>& fields = {});

// The head of a POST /session with these fields (each ending in CRLF) and its blank line.
std::string sessionHead(const std::string& fields);

// Peak resident set (VmHWM) of a process, in bytes.
long peakResidentBytes(int pid);

// The server binary with time-outs of about a second, for tests that wait for them; under
// AddressSanitizer the child gets a small quarantine so its peak memory measures the server.
std::unique_ptr<ServerProcess> hostileServer(const std::string& databasePath,
                                             std::vector<std::string> extraArgs, bool captureStderr = false,
                                             const std::optional<std::string>& secret = std::nullopt);
// Opens a session the way the host does and answers its status (200 when served).
int openSessionStatus(int port);
