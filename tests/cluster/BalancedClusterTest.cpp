#include "AnalysisWalk.h"
#include "Cluster.h"
#include "GeneratedDemo.h"
#include "HttpSession.h"

#include <gtest/gtest.h>

#include <csignal>
#include <future>
#include <map>
#include <sstream>

using nlohmann::json;
using namespace std::chrono_literals;

namespace {

// A call as its text, the answer's packet as its text.
using Answers = std::map<std::string, std::string>;

std::string callText(const std::string& method, const json& params) {
    return method + params.dump();
}

// Every service of the demo database, each to be analysed in the demo month.
std::vector<bench::AnalysisTarget> demoServices() {
    std::istringstream rows(
        ReadOnlyDb(generatedDemo()).text("SELECT CDFILIAL || '/' || CDSERVFILI FROM SERVFILI ORDER BY 1"));
    std::vector<bench::AnalysisTarget> targets;
    for (std::string row; std::getline(rows, row);) {
        // Each line is the quoted value: '0001/002'.
        bench::AnalysisTarget target;
        target.branch = row.substr(1, row.find('/') - 1);
        target.service = row.substr(row.find('/') + 1, row.size() - row.find('/') - 2);
        targets.push_back(target);
    }
    return targets;
}

bench::Caller through(bench::HttpSession& session) {
    return [&session](const std::string& method, const json& params) { return session.call(method, params); };
}

// The analysis of these services as the verify button runs it, weekly details included, every
// answer recorded under its call.
Answers analyse(const bench::Caller& call, const std::vector<bench::AnalysisTarget>& targets) {
    Answers answers;
    const bench::Caller recorded = [&](const std::string& method, const json& params) {
        json packet = call(method, params);
        answers[callText(method, params)] = packet.dump();
        return packet;
    };
    for (const bench::AnalysisTarget& target : targets)
        bench::analyse(recorded, target);
    return answers;
}

// One server with its sessions in memory over the SQLite demo: what every answer must be.
const Answers& reference() {
    static const Answers answers = [] {
        ServerProcess::Options quiet;
        quiet.captureStderr = true;
        ServerProcess server(generatedDemo().string(), quiet);
        bench::HttpSession session(server.host(), server.port());
        return analyse(through(session), demoServices());
    }();
    return answers;
}

void expectAnswersOfOneServer(const Answers& answers) {
    for (const auto& [call, packet] : answers) {
        const auto expected = reference().find(call);
        ASSERT_NE(expected, reference().end()) << call;
        EXPECT_EQ(packet, expected->second) << call;
    }
}

// Which server's access log took the call just answered: exactly one has one line more.
class Attribution {
public:
    explicit Attribution(Cluster& cluster) : cluster_(cluster) { counts_ = now(); }

    int next() {
        const std::vector<int> after = now();
        int server = -1;
        for (int i = 0; i < Cluster::kServers; ++i) {
            const int more = after[static_cast<std::size_t>(i)] - counts_[static_cast<std::size_t>(i)];
            if (more == 1 && server == -1)
                server = i;
            else if (more != 0)
                server = -2;
        }
        counts_ = after;
        servedBy.push_back(server);
        return server;
    }
    // The server the balancer's rotation sends the next call to: the one that took the call three
    // calls ago, while all three are up.
    int upNext() const { return servedBy.at(servedBy.size() - Cluster::kServers); }

    std::vector<int> servedBy;

private:
    std::vector<int> now() const {
        std::vector<int> counts;
        for (int i = 0; i < Cluster::kServers; ++i)
            counts.push_back(cluster_.callsServed(i));
        return counts;
    }

    Cluster& cluster_;
    std::vector<int> counts_;
};

class BalancedCluster : public testing::Test {
protected:
    void SetUp() override {
        if (!Balancer::installed())
            GTEST_SKIP() << "haproxy não está instalado em " << Balancer::binary()
                         << " (scripts/setup.sh o instala): os testes do balanceador não rodaram.";
        ASSERT_FALSE(reference().empty());
    }
};

TEST_F(BalancedCluster, EachCallGoesToAnotherServerAndTheWholeAnalysisAnswersAsOneServer) {
    Cluster cluster({.server = "10s"});
    bench::HttpSession session("127.0.0.1", cluster.balancer().port());
    Attribution attribution(cluster);
    const Answers answers = analyse(
        [&](const std::string& method, const json& params) {
            json packet = session.call(method, params);
            attribution.next();
            return packet;
        },
        demoServices());

    EXPECT_EQ(answers.size(), reference().size());
    expectAnswersOfOneServer(answers);
    const std::vector<int>& servedBy = attribution.servedBy;
    ASSERT_GT(servedBy.size(), 100u);
    std::vector<int> perServer(Cluster::kServers, 0);
    for (std::size_t i = 0; i < servedBy.size(); ++i) {
        ASSERT_GE(servedBy[i], 0) << "call " << i << " is in no single server's log";
        ++perServer[static_cast<std::size_t>(servedBy[i])];
        if (i > 0) {
            EXPECT_NE(servedBy[i], servedBy[i - 1]) << "calls " << i - 1 << " and " << i;
        }
    }
    for (int i = 0; i < Cluster::kServers; ++i)
        EXPECT_GE(perServer[static_cast<std::size_t>(i)] * Cluster::kServers + Cluster::kServers,
                  static_cast<int>(servedBy.size()))
            << Cluster::name(i);
}

// An analysis through the balancer in which the server due to take the first weekly detail after
// the rotation has gone round once (a call that needs the week span the session keeps) is stopped
// (SIGSTOP) before that call is sent; once the balancer has handed the call to it, `halted` is given
// its process. The server is let go on (SIGCONT) once the call is answered. What the run saw.
struct StoppedRun {
    Answers answers;
    int stopped = -1;
    int replayedBy = -1; // the server whose log took the stopped call
};

StoppedRun analyseStoppingAServer(Cluster& cluster, bench::HttpSession& session,
                                  const std::vector<bench::AnalysisTarget>& targets,
                                  const std::function<void(pid_t)>& halted) {
    Attribution attribution(cluster);
    StoppedRun run;
    run.answers = analyse(
        [&](const std::string& method, const json& params) {
            const bool stopHere = run.stopped < 0 && attribution.servedBy.size() >= Cluster::kServers &&
                                  method.ends_with("SemDet");
            if (!stopHere) {
                json packet = session.call(method, params);
                attribution.next();
                return packet;
            }
            run.stopped = attribution.upNext();
            const pid_t pid = cluster.server(run.stopped).pid();
            ::kill(pid, SIGSTOP);
            auto pending = std::async(std::launch::async, [&] { return session.call(method, params); });
            EXPECT_TRUE(Balancer::waitUntil(
                [&] { return cluster.balancer().server(Cluster::name(run.stopped)).current > 0; }, 10s))
                << "the call never reached " << Cluster::name(run.stopped);
            halted(pid);
            json packet = pending.get();
            ::kill(pid, SIGCONT);
            run.replayedBy = attribution.next();
            return packet;
        },
        targets);
    return run;
}

TEST_F(BalancedCluster, AServerKilledWithACallInItIsRoutedAroundAndRejoinsOnceRestarted) {
    Cluster cluster({.server = "10s"});
    bench::HttpSession session("127.0.0.1", cluster.balancer().port());
    const StoppedRun run =
        analyseStoppingAServer(cluster, session, demoServices(), [](pid_t pid) { ::kill(pid, SIGKILL); });
    ASSERT_GE(run.stopped, 0) << "no weekly detail to stop a server in";
    EXPECT_GE(run.replayedBy, 0);
    EXPECT_NE(run.replayedBy, run.stopped);
    // The session lived on: every later call, weekly details included, answered as before.
    EXPECT_EQ(run.answers.size(), reference().size());
    expectAnswersOfOneServer(run.answers);
    const std::string killed = Cluster::name(run.stopped);
    EXPECT_GE(cluster.balancer().server(killed).redispatched, 1);

    EXPECT_TRUE(Balancer::waitUntil(
        [&] { return cluster.balancer().server(killed).status.starts_with("DOWN"); }, 10s))
        << cluster.balancer().server(killed).status;
    cluster.restart(run.stopped);
    EXPECT_TRUE(Balancer::waitUntil([&] { return cluster.balancer().server(killed).status == "UP"; }, 10s))
        << cluster.balancer().server(killed).status;
    expectAnswersOfOneServer(analyse(through(session), {demoServices().front()}));
    EXPECT_GT(cluster.callsServed(run.stopped), 0) << "the restarted server took no call";
}

TEST_F(BalancedCluster, AServerThatStopsAnsweringIsPassedByOnceTheServerTimeOutStrikes) {
    // The health checks are slow enough here that the silent server is still up when the time-out
    // strikes: the call is passed on by the retry, not by the checks.
    Cluster cluster({.server = "2s", .checkInter = "5s"});
    bench::HttpSession session("127.0.0.1", cluster.balancer().port());
    const StoppedRun run = analyseStoppingAServer(cluster, session, {demoServices().front()}, [](pid_t) {});
    ASSERT_GE(run.stopped, 0) << "no weekly detail to stop a server in";
    EXPECT_GE(run.replayedBy, 0);
    EXPECT_NE(run.replayedBy, run.stopped);
    expectAnswersOfOneServer(run.answers);
}

} // namespace
