#include "Cluster.h"

#include "DemoCli.h"
#include "GeneratedDemo.h"
#include "PostgresCluster.h"

#include <sstream>
#include <stdexcept>

const SharedDatabases& sharedDatabases() {
    // The sessions live in a cluster of their own, as the servers advise: session writes there leave
    // the suite's cluster, whose position is the menu cache's data version, unmoved.
    static PostgresCluster sessionCluster;
    static const SharedDatabases databases = [] {
        PostgresCluster& cluster = PostgresCluster::shared();
        SharedDatabases made{cluster.url(cluster.createDatabase()),
                             sessionCluster.url(sessionCluster.createDatabase())};
        std::ostringstream out, err;
        if (demo::runDemoCli({"--from", generatedDemo().string(), "--out", made.suite}, out, err) != 0)
            throw std::runtime_error("restcont-demo --from failed: " + err.str());
        return made;
    }();
    return databases;
}

Cluster::Cluster(Balancer::Times times) {
    for (int i = 0; i < kServers; ++i) {
        servers_.push_back(startServer("127.0.0.1:0"));
        addresses_.push_back(servers_.back()->host() + ":" + std::to_string(servers_.back()->port()));
    }
    balancer_ = std::make_unique<Balancer>(addresses_, std::move(times));
}

std::unique_ptr<ServerProcess> Cluster::startServer(const std::string& listen) const {
    ServerProcess::Options options;
    options.captureStderr = true;
    options.extraArgs = {"--sessions", sharedDatabases().sessions, "--trusted-proxy", "127.0.0.1", "--listen",
                         listen};
    return std::make_unique<ServerProcess>(sharedDatabases().suite, options);
}

int Cluster::callsServed(int server) const {
    std::istringstream log(servers_[static_cast<std::size_t>(server)]->stderrText());
    int calls = 0;
    for (std::string line; std::getline(log, line);)
        calls += line.rfind("POST /rpc ", 0) == 0;
    return calls;
}

void Cluster::restart(int server) {
    auto& slot = servers_[static_cast<std::size_t>(server)];
    slot->stop();
    slot = startServer(addresses_[static_cast<std::size_t>(server)]);
}
