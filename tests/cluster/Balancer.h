#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

// Debian's haproxy in the foreground on a free loopback port, configured by the project's own
// scripts/cluster-haproxy.cfg (the file scripts/cluster.sh starts it on), in a temporary folder.
// The destructor stops it and removes the folder.
class Balancer {
public:
    // Every time of the configuration, in haproxy's units, short enough for tests.
    struct Times {
        std::string server = "35s";
        std::string connect = "1s";
        std::string client = "10s";
        std::string request = "5s";
        std::string checkInter = "1s";
        std::string checkTimeout = "1s";
    };
    // What "show stat" says of one server.
    struct ServerState {
        std::string status; // "UP", "DOWN", "UP 1/2"...
        int current = 0;    // requests it is serving now
        int redispatched = 0;
    };

    // servers: HOST:PORT of each of the three servers, named s1, s2, s3 in that order.
    Balancer(const std::vector<std::string>& servers, Times times);
    ~Balancer();
    Balancer(const Balancer&) = delete;
    Balancer& operator=(const Balancer&) = delete;

    int port() const { return port_; }
    // One command of haproxy's command socket and its whole answer.
    std::string command(const std::string& line) const;
    ServerState server(const std::string& name) const;
    // Polls `done` every 20 ms until it holds or `limit` passes; whether it held.
    static bool waitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit);

    // $RESTCONT_HAPROXY, else /usr/sbin/haproxy.
    static std::filesystem::path binary();
    static bool installed();
    // The source tree: $RESTCONT_SOURCE_DIR, else the one this build came from.
    static std::filesystem::path sourceDir();
    // Its scripts/cluster-haproxy.cfg.
    static std::filesystem::path configuration();

private:
    void start(const std::vector<std::string>& servers, const Times& times);
    void stop();

    std::filesystem::path folder_;
    int port_ = 0;
    pid_t pid_ = -1;
};
