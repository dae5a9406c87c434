#include "PostgresCluster.h"

#include "FreePort.h"

#include "server/store/PostgresHandles.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <mutex>
#include <pwd.h>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// initdb and the server refuse to run as root.
constexpr const char* kServiceUser = "postgres";

// What execv takes: the strings' own buffers, ended by a null; built before fork, as the child may
// not allocate.
std::vector<char*> execArguments(std::vector<std::string>& command) {
    std::vector<char*> argv;
    for (auto& arg : command)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    return argv;
}

bool runningAsRoot() {
    return ::geteuid() == 0;
}

std::string readTail(const std::filesystem::path& path, std::size_t bytes = 4000) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    std::string all = text.str();
    return all.size() > bytes ? all.substr(all.size() - bytes) : all;
}

} // namespace

std::filesystem::path PostgresCluster::binaryDir() {
    if (const char* dir = std::getenv("RESTCONT_PG_BINDIR"))
        return dir;
    std::filesystem::path best;
    int bestVersion = -1;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/usr/lib/postgresql", error)) {
        const std::string name = entry.path().filename().string();
        char* end = nullptr;
        const long version = std::strtol(name.c_str(), &end, 10);
        if (end == name.c_str() || *end != '\0' || !std::filesystem::exists(entry.path() / "bin" / "initdb"))
            continue;
        if (version > bestVersion) {
            bestVersion = static_cast<int>(version);
            best = entry.path() / "bin";
        }
    }
    if (best.empty())
        throw std::runtime_error("no PostgreSQL server under /usr/lib/postgresql (install postgresql)");
    return best;
}

PostgresCluster::PostgresCluster() {
    std::string pattern = (std::filesystem::temp_directory_path() / "restcont-pg-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a folder for the PostgreSQL cluster");
    folder_ = pattern;
    data_ = folder_ / "data";
    try {
        if (runningAsRoot()) {
            const passwd* user = ::getpwnam(kServiceUser);
            if (!user)
                throw std::runtime_error(
                    "running as root, but there is no user 'postgres' to run PostgreSQL");
            if (::chown(folder_.c_str(), user->pw_uid, user->pw_gid) != 0)
                throw std::runtime_error("cannot hand " + folder_.string() + " to the user 'postgres'");
        }
        run({(binaryDir() / "initdb").string(), "-D", data_.string(), "-U", "postgres", "-A", "trust", "-E",
             "UTF8", "--locale=C", "--no-sync"});
        // Another process may take the free port before the server binds it: try another.
        for (int attempt = 1;; ++attempt) {
            port_ = freeLoopbackPort();
            try {
                start();
                break;
            } catch (const std::runtime_error&) {
                if (attempt == 5)
                    throw;
            }
        }
        startWatchdog();
    } catch (...) {
        // No destructor runs for a constructor that throws.
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
        throw;
    }
}

PostgresCluster::~PostgresCluster() {
    try {
        stop();
    } catch (...) {
        // A server that does not stop must not keep the folder from going, nor end the test run.
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
    // The watchdog finds nothing left to do and ends.
    ::close(watchdogPipe_);
    while (::waitpid(watchdog_, nullptr, 0) < 0 && errno == EINTR) {
    }
}

void PostgresCluster::startWatchdog() {
    // A test process that crashes or is killed runs no destructor; without this its server would
    // live on and its folder stay. The watchdog, in a session of its own so that a signal to the
    // test's process group spares it, waits for the end of a pipe only this process writes to.
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    std::vector<std::string> command{"/bin/sh", "-c", "read _; \"$@\" >/dev/null 2>&1; rm -rf \"$0\"",
                                     folder_.string()};
    if (runningAsRoot())
        command.insert(command.end(), {"/usr/sbin/runuser", "-u", kServiceUser, "--"});
    command.insert(command.end(), {(binaryDir() / "pg_ctl").string(), "-D", data_.string(), "-m", "immediate",
                                   "-s", "stop"});
    std::vector<char*> argv = execArguments(command);
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        throw std::runtime_error("fork failed");
    }
    if (pid == 0) {
        // Only async-signal-safe calls between fork and exec: the test process may have threads.
        ::setsid();
        ::dup2(fds[0], STDIN_FILENO);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(fds[0]);
    watchdogPipe_ = fds[1];
    watchdog_ = pid;
}

PostgresCluster& PostgresCluster::shared() {
    static std::mutex mutex;
    static std::unique_ptr<PostgresCluster> cluster;
    const std::lock_guard lock(mutex);
    if (!cluster)
        cluster = std::make_unique<PostgresCluster>();
    return *cluster;
}

void PostgresCluster::run(const std::vector<std::string>& args) const {
    const auto log = folder_ / "commands.log";
    const int logFd = ::open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (logFd < 0)
        throw std::runtime_error("cannot write " + log.string());
    std::vector<std::string> command;
    if (runningAsRoot())
        command = {"/usr/sbin/runuser", "-u", kServiceUser, "--"};
    command.insert(command.end(), args.begin(), args.end());
    std::vector<char*> argv = execArguments(command);

    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(logFd);
        throw std::runtime_error("fork failed");
    }
    if (pid == 0) {
        // The service user may not be allowed into the caller's working folder.
        if (::chdir(folder_.c_str()) != 0)
            ::_exit(126);
        ::dup2(logFd, STDOUT_FILENO);
        ::dup2(logFd, STDERR_FILENO);
        const int devNull = ::open("/dev/null", O_RDONLY);
        ::dup2(devNull, STDIN_FILENO);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(logFd);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error(args.front() + " failed:\n" + readTail(log) + "\n" +
                                 readTail(folder_ / "server.log"));
}

void PostgresCluster::start() {
    if (running_)
        return;
    // Durability is worthless for a throw-away cluster and costs most of the time of every commit.
    // Nothing writes in the background either (autovacuum, a replica-level log's snapshots), so
    // the log position moves only with what a test does: tests count the reads a cache saves.
    const std::string options = "-c listen_addresses=127.0.0.1 -p " + std::to_string(port_) + " -k " +
                                folder_.string() +
                                " -c fsync=off -c synchronous_commit=off -c full_page_writes=off"
                                " -c autovacuum=off -c wal_level=minimal -c max_wal_senders=0";
    run({(binaryDir() / "pg_ctl").string(), "-D", data_.string(), "-l", (folder_ / "server.log").string(),
         "-w", "-t", "60", "-s", "-o", options, "start"});
    running_ = true;
}

void PostgresCluster::stop() {
    if (!running_)
        return;
    run({(binaryDir() / "pg_ctl").string(), "-D", data_.string(), "-m", "fast", "-w", "-t", "60", "-s",
         "stop"});
    running_ = false;
}

std::string PostgresCluster::url(const std::string& database) const {
    return "postgresql://postgres@" + host_ + ":" + std::to_string(port_) + "/" + database;
}

void PostgresCluster::exec(const std::string& database, const std::string& sql) const {
    const server::PgConnection connection(PQconnectdb(url(database).c_str()));
    if (PQstatus(connection.get()) != CONNECTION_OK)
        throw std::runtime_error("cannot connect to " + url(database) + ": " +
                                 PQerrorMessage(connection.get()));
    server::silenceNotices(connection.get());
    // Several statements in one text run as one simple query, which stops at the first failure.
    const server::PgResult result(PQexec(connection.get(), sql.c_str()));
    const ExecStatusType status = PQresultStatus(result.get());
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK && status != PGRES_EMPTY_QUERY)
        throw std::runtime_error("SQL failed: " + std::string(PQresultErrorMessage(result.get())) + "\n" +
                                 sql);
}

std::string PostgresCluster::uniqueName(const std::string& prefix) {
    static std::mutex mutex;
    const std::lock_guard lock(mutex);
    return prefix + std::to_string(nextDatabase_++);
}

std::string PostgresCluster::createDatabase(const std::string& schemaSql) {
    if (schemaSql.empty()) {
        const std::string name = uniqueName("vazio_");
        exec("postgres", "CREATE DATABASE " + name);
        return name;
    }
    std::string templateName;
    {
        static std::mutex mutex;
        const std::lock_guard lock(mutex);
        auto found = std::find_if(templates_.begin(), templates_.end(),
                                  [&](const auto& entry) { return entry.first == schemaSql; });
        if (found == templates_.end()) {
            // Copying a template costs a fraction of running the schema again for every database.
            const std::string name = "modelo_" + std::to_string(templates_.size());
            exec("postgres", "CREATE DATABASE " + name);
            exec(name, schemaSql);
            found = templates_.insert(templates_.end(), {schemaSql, name});
        }
        templateName = found->second;
    }
    const std::string name = uniqueName("banco_");
    exec("postgres", "CREATE DATABASE " + name + " TEMPLATE " + templateName);
    return name;
}

void PostgresCluster::dropDatabase(const std::string& name) {
    exec("postgres", "DROP DATABASE IF EXISTS " + name + " WITH (FORCE)");
}
