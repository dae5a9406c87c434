#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// A loopback TCP relay in front of a server that, when the client sends its n-th call, runs a
// callback (a test kills the server there) and drops every connection without an answer, then
// refuses new ones: to the client the server dies in the middle of what it was doing.
class CuttingProxy {
public:
    CuttingProxy(int targetPort, int cutAtCall, std::function<void()> onCut);
    ~CuttingProxy();
    CuttingProxy(const CuttingProxy&) = delete;
    CuttingProxy& operator=(const CuttingProxy&) = delete;

    int port() const { return port_; }
    bool cut() const { return cut_; }

private:
    void acceptLoop();
    void relay(int client);
    // True when this data holds the call that is to be cut.
    bool countCalls(const char* data, long size, std::string& tail);
    void cutEverything();

    int targetPort_;
    int cutAt_;
    std::function<void()> onCut_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::atomic<bool> cut_{false};
    std::mutex mutex_;
    int calls_ = 0;
    std::vector<int> sockets_;
    std::vector<std::thread> threads_;
    std::thread acceptor_;
};
