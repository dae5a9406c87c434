#pragma once

#include <string>
#include <thread>
#include <vector>

// One loopback connection's worth of HTTP by hand, for answers no HTTP server sends on purpose (cut
// short, oversized, endless): each request read whole is answered with the next scripted reply,
// bytes as given. After the last one the connection and the listener close, so a client's further
// requests find nobody instead of waiting.
class RawReplyServer {
public:
    explicit RawReplyServer(std::vector<std::string> replies);
    ~RawReplyServer();
    RawReplyServer(const RawReplyServer&) = delete;
    RawReplyServer& operator=(const RawReplyServer&) = delete;

    int port() const { return port_; }

    // A 200 answer with a JSON body and its Content-Length.
    static std::string jsonAnswer(const std::string& body);
    static std::string sessionAnswer() { return jsonAnswer(R"({"session":"tok-1"})"); }

private:
    void serve();

    std::vector<std::string> replies_;
    int listener_ = -1;
    int port_ = 0;
    std::thread thread_;
};
