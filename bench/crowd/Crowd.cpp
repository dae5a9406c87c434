#include "Crowd.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace crowd {
namespace {

using Clock = std::chrono::steady_clock;

enum class State { Down, Connecting, Open };

struct Connection {
    bool slow = false;
    State state = State::Down;
    int fd = -1;
    std::size_t sent = 0; // of the head, for a slow one
    Clock::time_point since;

    void shut() {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
        state = State::Down;
        sent = 0;
    }
};

// A head that asks for work, so that a server which waited for it would have to serve it. Sent again
// from the start once whole: the connection is the server's to end.
std::string slowHead(const proto::HostPort& target) {
    return "POST /rpc HTTP/1.1\r\nHost: " + proto::formatHostPort(target.host, target.port) +
           "\r\nContent-Type: application/json\r\nContent-Length: 2\r\n\r\n{}";
}

} // namespace

std::size_t raiseOpenFileLimit() {
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return 0;
    if (limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &limit);
        ::getrlimit(RLIMIT_NOFILE, &limit);
    }
    return static_cast<std::size_t>(limit.rlim_cur);
}

Crowd::Crowd(const CrowdPlan& plan) : plan_(plan) {
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const std::string port = std::to_string(plan.target.port);
    if (::getaddrinfo(plan.target.host.c_str(), port.c_str(), &hints, &found) != 0 || !found)
        throw std::runtime_error("não foi possível resolver o endereço '" +
                                 proto::formatHostPort(plan.target.host, plan.target.port) + "'.");
    addressLength_ = static_cast<unsigned>(std::min<std::size_t>(found->ai_addrlen, address_.size()));
    std::memcpy(address_.data(), found->ai_addr, addressLength_);
    ::freeaddrinfo(found);
    thread_ = std::thread([this] { run(); });
}

Crowd::~Crowd() {
    stop_ = true;
    thread_.join();
}

CrowdCounts Crowd::counts() const {
    return {idleOpen_.load(), slowOpen_.load(), reopened_.load(), failed_.load(), bytesSent_.load()};
}

CrowdCounts Crowd::waitOpen(std::chrono::milliseconds limit) const {
    const auto end = Clock::now() + limit;
    while (Clock::now() < end && idleOpen_ + slowOpen_ < plan_.idle + plan_.slow)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return counts();
}

void Crowd::run() {
    std::vector<Connection> connections(static_cast<std::size_t>(plan_.idle + plan_.slow));
    for (std::size_t i = static_cast<std::size_t>(plan_.idle); i < connections.size(); ++i)
        connections[i].slow = true;
    const std::string head = slowHead(plan_.target);
    const auto* address = reinterpret_cast<const sockaddr*>(address_.data());
    std::vector<pollfd> polled;
    std::vector<Connection*> owners;
    std::array<char, 4096> discard{};
    auto nextTick = Clock::now();

    const auto open = [&](Connection& connection) {
        connection.fd = ::socket(address->sa_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (connection.fd < 0) {
            ++failed_;
            return;
        }
        connection.since = Clock::now();
        if (::connect(connection.fd, address, addressLength_) == 0) {
            connection.state = State::Open;
        } else if (errno == EINPROGRESS) {
            connection.state = State::Connecting;
        } else {
            ++failed_;
            connection.shut();
        }
    };
    const auto closedByServer = [&](Connection& connection) {
        connection.shut();
        ++reopened_;
    };

    while (!stop_) {
        const auto now = Clock::now();
        if (now >= nextTick) {
            nextTick = now + plan_.byteInterval;
            for (Connection& connection : connections) {
                if (connection.state == State::Down) {
                    open(connection);
                } else if (connection.state == State::Open && connection.slow) {
                    const ssize_t sent =
                        ::send(connection.fd, head.data() + connection.sent, 1, MSG_NOSIGNAL | MSG_DONTWAIT);
                    if (sent == 1) {
                        ++bytesSent_;
                        connection.sent = (connection.sent + 1) % head.size();
                    } else if (errno != EAGAIN && errno != EWOULDBLOCK) {
                        closedByServer(connection);
                    }
                }
            }
        }
        polled.clear();
        owners.clear();
        for (Connection& connection : connections) {
            if (connection.state == State::Down)
                continue;
            const short events = connection.state == State::Connecting ? POLLOUT : POLLIN;
            polled.push_back({connection.fd, events, 0});
            owners.push_back(&connection);
        }
        const auto untilTick = std::chrono::duration_cast<std::chrono::milliseconds>(nextTick - Clock::now());
        const int wait = static_cast<int>(std::clamp<long long>(untilTick.count(), 0, 100));
        if (::poll(polled.data(), polled.size(), wait) < 0 && errno != EINTR)
            break;
        for (std::size_t i = 0; i < polled.size(); ++i) {
            Connection& connection = *owners[i];
            if (connection.state == State::Connecting) {
                if (polled[i].revents == 0) {
                    if (Clock::now() - connection.since > plan_.connectTimeout) {
                        ++failed_;
                        connection.shut();
                    }
                    continue;
                }
                int error = 0;
                socklen_t length = sizeof error;
                ::getsockopt(connection.fd, SOL_SOCKET, SO_ERROR, &error, &length);
                if (error == 0) {
                    connection.state = State::Open;
                } else {
                    ++failed_;
                    connection.shut();
                }
                continue;
            }
            if (polled[i].revents == 0)
                continue;
            // Whatever the server says (a refusal, a time-out) is read and dropped; its end of the
            // connection closing is what counts.
            const ssize_t got = ::recv(connection.fd, discard.data(), discard.size(), MSG_DONTWAIT);
            if (got == 0 || (got < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR))
                closedByServer(connection);
        }
        int idle = 0, slow = 0;
        for (const Connection& connection : connections)
            if (connection.state == State::Open)
                ++(connection.slow ? slow : idle);
        idleOpen_ = idle;
        slowOpen_ = slow;
    }
    for (Connection& connection : connections)
        connection.shut();
}

} // namespace crowd
