#include "CuttingProxy.h"
#include "LoopbackSockets.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <string>

namespace {

constexpr const char kCall[] = "POST /rpc ";

} // namespace

CuttingProxy::CuttingProxy(int targetPort, int cutAtCall, std::function<void()> onCut)
    : targetPort_(targetPort), cutAt_(cutAtCall), onCut_(std::move(onCut)) {
    listener_ = listenOnLoopback(port_, "cutting proxy");
    acceptor_ = std::thread([this] { acceptLoop(); });
}

CuttingProxy::~CuttingProxy() {
    stopping_ = true;
    acceptor_.join();
    std::vector<std::thread> threads;
    {
        std::lock_guard lock(mutex_);
        threads.swap(threads_);
    }
    for (auto& thread : threads)
        thread.join();
    if (listener_ >= 0)
        ::close(listener_);
}

void CuttingProxy::acceptLoop() {
    while (!stopping_) {
        if (cut_) {
            // The listener is shut: connections are refused until the proxy goes.
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            continue;
        }
        pollfd waiting{listener_, POLLIN, 0};
        if (::poll(&waiting, 1, 50) <= 0)
            continue;
        const int client = ::accept(listener_, nullptr, nullptr);
        if (client < 0)
            continue;
        if (cut_) {
            ::close(client);
            continue;
        }
        std::lock_guard lock(mutex_);
        threads_.emplace_back([this, client] { relay(client); });
    }
}

bool CuttingProxy::countCalls(const char* data, long size, std::string& tail) {
    // A call's first line may straddle two reads: keep the end of the previous one.
    std::string seen = tail + std::string(data, static_cast<std::size_t>(size));
    const std::size_t keep = sizeof kCall - 2;
    tail = seen.size() > keep ? seen.substr(seen.size() - keep) : seen;
    std::lock_guard lock(mutex_);
    for (std::size_t at = seen.find(kCall); at != std::string::npos; at = seen.find(kCall, at + 1))
        if (++calls_ == cutAt_)
            return true;
    return false;
}

void CuttingProxy::relay(int client) {
    const int server = connectToLoopback(targetPort_);
    if (server < 0) {
        ::close(client);
        return;
    }
    {
        std::lock_guard lock(mutex_);
        sockets_.push_back(client);
        sockets_.push_back(server);
    }
    std::string tail;
    char buffer[65536];
    while (!stopping_ && !cut_) {
        pollfd ends[2] = {{client, POLLIN, 0}, {server, POLLIN, 0}};
        if (::poll(ends, 2, 50) <= 0)
            continue;
        if (ends[0].revents) {
            const ssize_t got = ::recv(client, buffer, sizeof buffer, 0);
            if (got <= 0)
                break;
            if (countCalls(buffer, got, tail)) {
                cutEverything();
                break;
            }
            if (!sendAll(server, buffer, got))
                break;
        }
        if (ends[1].revents) {
            const ssize_t got = ::recv(server, buffer, sizeof buffer, 0);
            if (got <= 0 || !sendAll(client, buffer, got))
                break;
        }
    }
    std::lock_guard lock(mutex_);
    std::erase(sockets_, client);
    std::erase(sockets_, server);
    ::close(client);
    ::close(server);
}

void CuttingProxy::cutEverything() {
    if (cut_.exchange(true))
        return;
    if (onCut_)
        onCut_();
    std::lock_guard lock(mutex_);
    // The other relays see cut_ and close their own sockets; the listener stops taking new ones.
    for (int fd : sockets_)
        ::shutdown(fd, SHUT_RDWR);
    ::shutdown(listener_, SHUT_RDWR);
}
