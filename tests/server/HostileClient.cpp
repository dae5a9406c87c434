#include "HostileClient.h"

#include <arpa/inet.h>
#include <fstream>
#include <netinet/in.h>
#include <nlohmann/json.hpp>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>

namespace {

using Clock = std::chrono::steady_clock;

// Waits for input until the deadline; false when none came.
bool readable(int fd, Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0)
        return false;
    pollfd poller{fd, POLLIN, 0};
    return ::poll(&poller, 1, static_cast<int>(left)) > 0;
}

} // namespace

RawConnection::RawConnection(int port, const char* source) {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd_ < 0)
        return;
    if (source) {
        sockaddr_in from{};
        from.sin_family = AF_INET;
        inet_pton(AF_INET, source, &from.sin_addr);
        if (::bind(fd_, reinterpret_cast<sockaddr*>(&from), sizeof from) != 0) {
            ::close(fd_);
            fd_ = -1;
            return;
        }
    }
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    to.sin_port = htons(static_cast<uint16_t>(port));
    if (::connect(fd_, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

RawConnection::~RawConnection() {
    if (fd_ >= 0)
        ::close(fd_);
}

bool RawConnection::send(const std::string& bytes) {
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t sent = ::send(fd_, data, left, MSG_NOSIGNAL);
        if (sent <= 0)
            return false;
        data += sent;
        left -= static_cast<std::size_t>(sent);
    }
    return true;
}

std::string RawConnection::readToClose(std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    std::string text = std::move(pending_);
    pending_.clear();
    char buffer[16384];
    while (readable(fd_, deadline)) {
        const ssize_t got = ::recv(fd_, buffer, sizeof buffer, 0);
        if (got <= 0)
            break;
        text.append(buffer, static_cast<std::size_t>(got));
    }
    return text;
}

std::string RawConnection::readAnswer(std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    char buffer[16384];
    while (true) {
        const auto headEnd = pending_.find("\r\n\r\n");
        if (headEnd != std::string::npos) {
            std::size_t length = 0;
            const auto field = pending_.find("Content-Length: ");
            if (field != std::string::npos && field < headEnd)
                length = std::stoul(pending_.substr(field + 16));
            if (pending_.size() >= headEnd + 4 + length) {
                std::string answer = pending_.substr(0, headEnd + 4 + length);
                pending_.erase(0, answer.size());
                return answer;
            }
        }
        if (!readable(fd_, deadline))
            break;
        const ssize_t got = ::recv(fd_, buffer, sizeof buffer, 0);
        if (got <= 0)
            break;
        pending_.append(buffer, static_cast<std::size_t>(got));
    }
    return std::exchange(pending_, {});
}

bool RawConnection::closedByServer(std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    char buffer[16384];
    while (readable(fd_, deadline)) {
        const ssize_t got = ::recv(fd_, buffer, sizeof buffer, 0);
        if (got <= 0)
            return true;
    }
    return false;
}

int statusOf(const std::string& answer) {
    if (answer.rfind("HTTP/1.", 0) != 0 || answer.size() < 12)
        return -1;
    return std::atoi(answer.c_str() + 9);
}

std::string errorTextOf(const std::string& answer) {
    const auto body = answer.find("\r\n\r\n");
    if (body == std::string::npos)
        return {};
    const auto parsed = nlohmann::json::parse(answer.substr(body + 4), nullptr, false);
    return parsed.is_object() && parsed.contains("error") ? parsed.at("error").get<std::string>()
                                                          : std::string();
}

std::string request(const std::string& method, const std::string& target, const std::string& body,
                    const std::vector<std::string>& fields) {
    std::string text = method + " " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n";
    for (const std::string& field : fields)
        text += field + "\r\n";
    if (!body.empty() || method == "POST")
        text += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    return text + "\r\n" + body;
}

std::string sessionHead(const std::string& fields) {
    return "POST /session HTTP/1.1\r\nHost: 127.0.0.1\r\n" + fields + "\r\n";
}

long peakResidentBytes(int pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atol(line.c_str() + 6) * 1024;
    return -1;
}

std::unique_ptr<ServerProcess> hostileServer(const std::string& databasePath,
                                             std::vector<std::string> extraArgs, bool captureStderr,
                                             const std::optional<std::string>& secret) {
    // The child inherits this; appended, so that CI's own options stay in force.
    const char* asan = std::getenv("ASAN_OPTIONS");
    const std::string options =
        std::string(asan ? asan : "") + (asan && *asan ? ":" : "") + "quarantine_size_mb=16";
    ::setenv("ASAN_OPTIONS", options.c_str(), 1);
    std::vector<std::string> args{"--request-timeout", "1", "--idle-timeout", "1"};
    args.insert(args.end(), extraArgs.begin(), extraArgs.end());
    ServerProcess::Options processOptions;
    processOptions.extraArgs = std::move(args);
    processOptions.captureStderr = captureStderr;
    processOptions.secret = secret;
    auto process = std::make_unique<ServerProcess>(databasePath, processOptions);
    if (asan)
        ::setenv("ASAN_OPTIONS", asan, 1);
    else
        ::unsetenv("ASAN_OPTIONS");
    return process;
}

int openSessionStatus(int port) {
    RawConnection connection(port);
    connection.send(request("POST", "/session", R"({"server":"KDR60251.rdmAnalRestCont"})"));
    return statusOf(connection.readAnswer());
}
