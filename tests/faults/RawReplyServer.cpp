#include "RawReplyServer.h"

#include "LoopbackSockets.h"

#include <sys/socket.h>
#include <unistd.h>

namespace {

// Reads one request whole: its head and the body its Content-Length announces.
bool readRequest(int fd) {
    std::string data;
    char buffer[4096];
    for (;;) {
        const auto end = data.find("\r\n\r\n");
        if (end != std::string::npos) {
            const auto at = data.find("Content-Length: ");
            const std::size_t body = at == std::string::npos ? 0 : std::stoul(data.substr(at + 16));
            if (data.size() >= end + 4 + body)
                return true;
        }
        const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
        if (got <= 0)
            return false;
        data.append(buffer, static_cast<std::size_t>(got));
    }
}

} // namespace

RawReplyServer::RawReplyServer(std::vector<std::string> replies) : replies_(std::move(replies)) {
    listener_ = listenOnLoopback(port_, "raw reply server");
    thread_ = std::thread([this] { serve(); });
}

RawReplyServer::~RawReplyServer() {
    ::shutdown(listener_, SHUT_RDWR);
    thread_.join();
    ::close(listener_);
}

std::string RawReplyServer::jsonAnswer(const std::string& body) {
    return "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: " +
           std::to_string(body.size()) + "\r\n\r\n" + body;
}

void RawReplyServer::serve() {
    const int fd = ::accept(listener_, nullptr, nullptr);
    if (fd < 0)
        return;
    for (const std::string& reply : replies_)
        if (!readRequest(fd) || !sendAll(fd, reply))
            break;
    ::close(fd);
    ::shutdown(listener_, SHUT_RDWR);
}
