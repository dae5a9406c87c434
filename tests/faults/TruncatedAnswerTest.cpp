#include "LoopbackSockets.h"
#include "RefusalOf.h"

#include "host/context/OperatorContext.h"
#include "host/net/NetConnection.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <unistd.h>

#include <string>
#include <thread>

using host::TNetConnection;
using namespace Qt::StringLiterals;

namespace {

// One connection's worth of HTTP by hand: a good session answer, then a call answered with fewer
// bytes than its Content-Length promises before the connection closes, as a server that dies while
// writing leaves it.
class HalfAnswerServer {
public:
    explicit HalfAnswerServer(std::string headAndPart) : reply_(std::move(headAndPart)) {
        listener_ = listenOnLoopback(port_, "half-answer server");
        thread_ = std::thread([this] { serve(); });
    }
    ~HalfAnswerServer() {
        ::shutdown(listener_, SHUT_RDWR);
        thread_.join();
        ::close(listener_);
    }
    int port() const { return port_; }

private:
    // Reads one request whole: its head and the body its Content-Length announces.
    static bool readRequest(int fd) {
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
    void serve() {
        const int fd = ::accept(listener_, nullptr, nullptr);
        if (fd < 0)
            return;
        const std::string session = R"({"session":"tok-1"})";
        if (readRequest(fd))
            sendAll(fd, "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: " +
                            std::to_string(session.size()) + "\r\n\r\n" + session);
        if (readRequest(fd))
            sendAll(fd, reply_);
        ::close(fd);
        // Gone for good: the client's closing request finds nobody instead of waiting for an answer.
        ::shutdown(listener_, SHUT_RDWR);
    }

    std::string reply_;
    int listener_ = -1;
    int port_ = 0;
    std::thread thread_;
};

TEST(TruncatedAnswer, ABodyCutShortOfItsLengthIsAClearErrorNamingTheServer) {
    host::OperatorContext::instance().clear();
    const std::string whole =
        R"({"jsonrpc":"2.0","id":1,"result":{"packet":{"fields":[{"name":"CDSERVFILI","type":"string","size":5}],"rows":[["001"]]}}})";
    HalfAnswerServer server("HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: " +
                            std::to_string(whole.size()) + "\r\n\r\n" + whole.substr(0, whole.size() / 2));
    TNetConnection net;
    net.ServerName = u"KDR60251.rdmAnalRestCont"_s;
    net.Host = u"127.0.0.1"_s;
    net.Port = server.port();
    net.TimeoutMs = 2000;
    net.Connect();
    const QString message = refusalOf([&] { net.Call(u"GetServico"_s, {u"0001"_s, u"N"_s}); });
    EXPECT_TRUE(message.contains(u"127.0.0.1:%1"_s.arg(server.port()))) << message.toStdString();
    EXPECT_TRUE(message.contains(u"GetServico"_s)) << message.toStdString();
    EXPECT_TRUE(message.contains(u"encerrada antes da resposta"_s)) << message.toStdString();
    EXPECT_FALSE(message.contains(u"tempo limite"_s)) << "the server closed, it did not stall";
}

} // namespace
