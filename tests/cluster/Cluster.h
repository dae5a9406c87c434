#pragma once

#include "Balancer.h"
#include "ServerProcess.h"

#include <memory>
#include <string>
#include <vector>

// The suite's demo database moved into the process's private PostgreSQL cluster as a user moves
// theirs (restcont-demo --from the SQLite demo), and a database for the shared sessions in a second
// cluster; made once per test process.
struct SharedDatabases {
    std::string suite;
    std::string sessions;
};
const SharedDatabases& sharedDatabases();

// Three real servers on those databases, with their sessions in the shared table, and the real
// balancer in front of them, as scripts/cluster.sh starts them. Each server's access log is kept,
// so a test can tell which server answered a call.
class Cluster {
public:
    explicit Cluster(Balancer::Times times);

    Balancer& balancer() { return *balancer_; }
    static constexpr int kServers = 3;
    // The balancer's name of a server: s1, s2, s3.
    static std::string name(int server) { return "s" + std::to_string(server + 1); }
    ServerProcess& server(int index) { return *servers_[static_cast<std::size_t>(index)]; }
    // Calls (POST /rpc) a server's access log has recorded so far.
    int callsServed(int server) const;
    // A server started again on the address it had, after it was killed (its process reaped).
    void restart(int server);

private:
    std::unique_ptr<ServerProcess> startServer(const std::string& listen) const;

    std::vector<std::unique_ptr<ServerProcess>> servers_;
    std::vector<std::string> addresses_;
    std::unique_ptr<Balancer> balancer_;
};
