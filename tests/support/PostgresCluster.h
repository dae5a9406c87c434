#pragma once

#include <filesystem>
#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

// A private PostgreSQL server for tests and benchmarks: a cluster made by initdb in a temporary
// folder (C locale, UTF8, trust authentication, listening on 127.0.0.1 only, its socket inside the
// folder), started on a free port. The destructor stops it and removes the folder, whatever the test
// did; a watchdog process does the same when the process ends without it (a crash, a kill). As root, the
// PostgreSQL programs run as the user "postgres", since initdb refuses root.
class PostgresCluster {
public:
    PostgresCluster(); // throws std::runtime_error with the programs' output
    ~PostgresCluster();
    PostgresCluster(const PostgresCluster&) = delete;
    PostgresCluster& operator=(const PostgresCluster&) = delete;

    // One cluster for the whole process, started on first use and stopped at exit.
    static PostgresCluster& shared();

    const std::string& host() const { return host_; }
    int port() const { return port_; }
    const std::filesystem::path& folder() const { return folder_; }

    // The URL of a database of this cluster, as restcont-server's --database takes it.
    std::string url(const std::string& database) const;

    // A new, uniquely named database in which these statements have run (none: an empty database);
    // its name. Each schema text is run once, into a template that later databases are copied from.
    std::string createDatabase(const std::string& schemaSql = {});
    // Closes every connection to it first.
    void dropDatabase(const std::string& name);

    // Runs statements on a database of this cluster; throws std::runtime_error with the server's
    // message.
    void exec(const std::string& database, const std::string& sql) const;

    // Stop the server and start it again on the same port, for tests of a database that goes away
    // and comes back. Connections made before the stop are broken.
    void stop();
    void start();
    bool running() const { return running_; }

    // The newest /usr/lib/postgresql/<version>/bin, or $RESTCONT_PG_BINDIR.
    static std::filesystem::path binaryDir();

private:
    void run(const std::vector<std::string>& args) const;
    void startWatchdog();
    std::string uniqueName(const std::string& prefix);

    std::filesystem::path folder_;
    std::filesystem::path data_;
    std::string host_ = "127.0.0.1";
    int port_ = 0;
    bool running_ = false;
    int nextDatabase_ = 0;
    int watchdogPipe_ = -1;
    pid_t watchdog_ = -1;
    std::vector<std::pair<std::string, std::string>> templates_; // schema text, template name
};
