#include "Crowd.h"
#include "CrowdOptions.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using namespace std::chrono_literals;

// A bare TCP listener on loopback that keeps every connection and what each one sent: the crowd's
// behaviour seen from the server's side, without any server's own time-outs in the way.
class Listener {
public:
    Listener() {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            ::listen(fd_, 512) != 0 ||
            ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            throw std::runtime_error("listener");
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { run(); });
    }
    ~Listener() {
        stop_ = true;
        thread_.join();
        for (const auto& [fd, bytes] : received_)
            ::close(fd);
        ::close(fd_);
    }
    int port() const { return port_; }

    // Each open connection's bytes so far.
    std::vector<std::string> received() {
        std::lock_guard lock(mutex_);
        std::vector<std::string> all;
        for (const auto& [fd, bytes] : received_)
            all.push_back(bytes);
        return all;
    }
    long accepted() const { return accepted_; }
    // Closes `count` of the open connections, as a server ending them would.
    void hangUp(int count) {
        std::lock_guard lock(mutex_);
        for (auto it = received_.begin(); it != received_.end() && count > 0; --count) {
            ::close(it->first);
            it = received_.erase(it);
        }
    }

private:
    void run() {
        while (!stop_) {
            std::vector<pollfd> polled{{fd_, POLLIN, 0}};
            {
                std::lock_guard lock(mutex_);
                for (const auto& [fd, bytes] : received_)
                    polled.push_back({fd, POLLIN, 0});
            }
            if (::poll(polled.data(), polled.size(), 20) <= 0)
                continue;
            std::lock_guard lock(mutex_);
            if (polled[0].revents & POLLIN) {
                const int client = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
                if (client >= 0) {
                    received_[client];
                    ++accepted_;
                }
            }
            for (std::size_t i = 1; i < polled.size(); ++i) {
                const auto it = received_.find(polled[i].fd);
                if (it == received_.end() || !(polled[i].revents & POLLIN))
                    continue;
                char buffer[256];
                const ssize_t got = ::recv(it->first, buffer, sizeof buffer, MSG_DONTWAIT);
                if (got > 0)
                    it->second.append(buffer, static_cast<std::size_t>(got));
            }
        }
    }

    int fd_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<long> accepted_{0};
    std::mutex mutex_;
    std::map<int, std::string> received_;
    std::thread thread_;
};

crowd::CrowdPlan planFor(const Listener& listener, int idle, int slow) {
    crowd::CrowdPlan plan;
    plan.target = {"127.0.0.1", listener.port()};
    plan.idle = idle;
    plan.slow = slow;
    plan.byteInterval = 50ms;
    return plan;
}

template <class Condition> bool eventually(Condition condition) {
    for (int i = 0; i < 250 && !condition(); ++i)
        std::this_thread::sleep_for(20ms);
    return condition();
}

TEST(Crowd, IdleConnectionsSendNothingAndSlowOnesTrickleARequestHeadAByteATime) {
    Listener listener;
    crowd::Crowd crowd(planFor(listener, 40, 5));
    const crowd::CrowdCounts opened = crowd.waitOpen(5s);
    EXPECT_EQ(opened.idleOpen, 40);
    EXPECT_EQ(opened.slowOpen, 5);
    ASSERT_TRUE(eventually([&] { return listener.accepted() == 45; })) << listener.accepted();
    // Past a few intervals every slow connection has sent some bytes, not its whole head at once.
    ASSERT_TRUE(eventually([&] {
        int trickling = 0;
        for (const std::string& bytes : listener.received())
            trickling += bytes.size() >= 3 ? 1 : 0;
        return trickling == 5;
    }));
    int silent = 0;
    for (const std::string& bytes : listener.received()) {
        if (bytes.empty()) {
            ++silent;
            continue;
        }
        EXPECT_LT(bytes.size(), 40u) << "a byte per 50 ms, not the head in one go: " << bytes;
        EXPECT_EQ(std::string("POST /rpc HTTP/1.1\r\n").substr(0, bytes.size()), bytes.substr(0, 20));
    }
    EXPECT_EQ(silent, 40);
    EXPECT_GE(crowd.counts().bytesSent, 15);
}

TEST(Crowd, ConnectionsTheServerClosesAreOpenedAgainSoTheCrowdKeepsItsSize) {
    Listener listener;
    crowd::Crowd crowd(planFor(listener, 10, 2));
    ASSERT_EQ(crowd.waitOpen(5s).idleOpen, 10);
    ASSERT_TRUE(eventually([&] { return listener.accepted() == 12; }));
    listener.hangUp(4);
    EXPECT_TRUE(eventually([&] { return listener.accepted() == 16; })) << listener.accepted();
    EXPECT_TRUE(eventually([&] { return crowd.counts().reopened == 4; })) << crowd.counts().reopened;
    EXPECT_TRUE(eventually([&] {
        const crowd::CrowdCounts now = crowd.counts();
        return now.idleOpen + now.slowOpen == 12;
    }));
}

TEST(Crowd, ANobodyListeningCountsFailedAttemptsAndNoOpenConnection) {
    int port = 0;
    {
        Listener gone;
        port = gone.port();
    }
    crowd::CrowdPlan plan;
    plan.target = {"127.0.0.1", port};
    plan.idle = 3;
    plan.slow = 1;
    plan.byteInterval = 50ms;
    crowd::Crowd crowd(plan);
    const crowd::CrowdCounts counts = crowd.waitOpen(300ms);
    EXPECT_EQ(counts.idleOpen + counts.slowOpen, 0);
    EXPECT_GE(counts.failed, 4);
}

struct BadLine {
    std::vector<std::string> args;
    std::string named;
};

class CrowdOptionsRefusal : public testing::TestWithParam<BadLine> {};

TEST_P(CrowdOptionsRefusal, RefusesWithAPortugueseMessageNamingWhatIsWrong) {
    try {
        crowd::parseCrowdOptions(GetParam().args);
        FAIL() << "accepted";
    } catch (const std::invalid_argument& error) {
        EXPECT_NE(std::string(error.what()).find(GetParam().named), std::string::npos) << error.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    BadCommandLines, CrowdOptionsRefusal,
    testing::Values(BadLine{{"--idle", "-1"}, "--idle"}, BadLine{{"--slow", "100001"}, "--slow"},
                    BadLine{{"--seconds", "0"}, "--seconds"}, BadLine{{"--byte-interval-ms", "5"}, "--byte"},
                    BadLine{{"--call-timeout"}, "falta o valor"},
                    BadLine{{"--target", "::1:60251"}, "--target"},
                    BadLine{{"--secret-file", "/nao/existe"}, "--secret-file"},
                    BadLine{{"--target", "127.0.0.1:1", "--database", "x.db"}, "--database"},
                    BadLine{{"--crowd"}, "--crowd"}));

TEST(CrowdOptions, DefaultsAreAThousandIdleAndAHundredSlowAtAByteASecond) {
    const crowd::CrowdOptions options = crowd::parseCrowdOptions({});
    EXPECT_EQ(options.idle, 1000);
    EXPECT_EQ(options.slow, 100);
    EXPECT_EQ(options.byteIntervalMs, 1000);
    EXPECT_FALSE(options.target);
    const crowd::CrowdOptions v6 = crowd::parseCrowdOptions({"--target", "[::1]:60251", "--idle", "0"});
    ASSERT_TRUE(v6.target);
    EXPECT_EQ(v6.target->host, "::1");
    EXPECT_EQ(v6.idle, 0);
}

} // namespace
