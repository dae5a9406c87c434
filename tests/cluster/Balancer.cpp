#include "Balancer.h"

#include "FreePort.h"

#include <arpa/inet.h>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <netinet/in.h>
#include <sstream>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

std::filesystem::path freshFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "restcont-lb-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a folder for haproxy");
    return pattern;
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

bool accepts(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return ok;
}

std::vector<std::string> csvFields(const std::string& line) {
    std::vector<std::string> fields;
    std::stringstream in(line);
    std::string field;
    while (std::getline(in, field, ','))
        fields.push_back(field);
    return fields;
}

} // namespace

std::filesystem::path Balancer::binary() {
    if (const char* path = std::getenv("RESTCONT_HAPROXY"))
        return path;
    return "/usr/sbin/haproxy";
}

bool Balancer::installed() {
    return ::access(binary().c_str(), X_OK) == 0;
}

std::filesystem::path Balancer::sourceDir() {
    const char* source = std::getenv("RESTCONT_SOURCE_DIR");
    return source ? source : RESTCONT_SOURCE_DIR_DEFAULT;
}

std::filesystem::path Balancer::configuration() {
    return sourceDir() / "scripts" / "cluster-haproxy.cfg";
}

Balancer::Balancer(const std::vector<std::string>& servers, Times times) : folder_(freshFolder()) {
    if (servers.size() != 3)
        throw std::invalid_argument("the balancer's configuration names three servers");
    try {
        // Another process may take the free port before haproxy binds it: try another.
        for (int attempt = 1;; ++attempt) {
            try {
                start(servers, times);
                break;
            } catch (const std::runtime_error&) {
                if (attempt == 5)
                    throw;
            }
        }
    } catch (...) {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
        throw;
    }
}

Balancer::~Balancer() {
    stop();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

void Balancer::start(const std::vector<std::string>& servers, const Times& times) {
    port_ = freeLoopbackPort();
    std::vector<std::string> settings{
        "RESTCONT_LB_LISTEN=127.0.0.1:" + std::to_string(port_),
        "RESTCONT_LB_STATS=" + (folder_ / "stats").string(),
        "RESTCONT_SERVER1=" + servers[0],
        "RESTCONT_SERVER2=" + servers[1],
        "RESTCONT_SERVER3=" + servers[2],
        "RESTCONT_TIMEOUT_SERVER=" + times.server,
        "RESTCONT_TIMEOUT_CONNECT=" + times.connect,
        "RESTCONT_TIMEOUT_CLIENT=" + times.client,
        "RESTCONT_TIMEOUT_REQUEST=" + times.request,
        "RESTCONT_CHECK_INTER=" + times.checkInter,
        "RESTCONT_TIMEOUT_CHECK=" + times.checkTimeout,
    };
    // The first of two equal names wins: one inherited from the caller's environment must not.
    const auto ours = [&](const char* variable) {
        for (const auto& setting : settings)
            if (std::strncmp(variable, setting.c_str(), setting.find('=') + 1) == 0)
                return true;
        return false;
    };
    std::vector<char*> env;
    for (char** variable = environ; *variable; ++variable)
        if (!ours(*variable))
            env.push_back(*variable);
    for (auto& setting : settings)
        env.push_back(setting.data());
    env.push_back(nullptr);
    std::string program = binary().string(), foreground = "-db", file = "-f",
                config = configuration().string();
    std::vector<char*> argv{program.data(), foreground.data(), file.data(), config.data(), nullptr};
    const std::string log = (folder_ / "haproxy.log").string();
    const int logFd = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (logFd < 0)
        throw std::runtime_error("cannot write " + log);

    pid_ = ::fork();
    if (pid_ < 0) {
        ::close(logFd);
        throw std::runtime_error("fork failed");
    }
    if (pid_ == 0) {
        ::dup2(logFd, STDOUT_FILENO);
        ::dup2(logFd, STDERR_FILENO);
        ::execve(argv[0], argv.data(), env.data());
        ::_exit(127);
    }
    ::close(logFd);
    const bool ready = waitUntil(
        [&] {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                throw std::runtime_error("haproxy did not start:\n" + readFile(log));
            }
            return accepts(port_) && std::filesystem::exists(folder_ / "stats");
        },
        std::chrono::seconds(20));
    if (!ready) {
        stop();
        throw std::runtime_error("haproxy did not listen within 20 s:\n" + readFile(log));
    }
}

void Balancer::stop() {
    if (pid_ <= 0)
        return;
    ::kill(pid_, SIGTERM);
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
}

std::string Balancer::command(const std::string& line) const {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = (folder_ / "stats").string();
    if (path.size() >= sizeof address.sun_path) {
        ::close(fd);
        throw std::runtime_error("socket path too long: " + path);
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        throw std::runtime_error("cannot reach haproxy's command socket " + path);
    }
    const std::string request = line + "\n";
    if (::write(fd, request.data(), request.size()) != static_cast<ssize_t>(request.size())) {
        ::close(fd);
        throw std::runtime_error("cannot write to haproxy's command socket");
    }
    std::string answer;
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        answer.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return answer;
}

Balancer::ServerState Balancer::server(const std::string& name) const {
    std::stringstream lines(command("show stat"));
    std::string line;
    std::vector<std::string> header;
    while (std::getline(lines, line)) {
        if (line.rfind("# ", 0) == 0) {
            header = csvFields(line.substr(2));
            continue;
        }
        const std::vector<std::string> fields = csvFields(line);
        if (fields.size() < 2 || fields[0] != "servers" || fields[1] != name)
            continue;
        const auto value = [&](const std::string& column) -> std::string {
            for (std::size_t i = 0; i < header.size() && i < fields.size(); ++i)
                if (header[i] == column)
                    return fields[i];
            throw std::runtime_error("haproxy's statistics lack the column " + column);
        };
        const auto number = [&](const std::string& column) {
            const std::string text = value(column);
            return text.empty() ? 0 : std::stoi(text);
        };
        return {value("status"), number("scur"), number("wredis")};
    }
    throw std::runtime_error("haproxy does not know the server " + name);
}

bool Balancer::waitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
        if (done())
            return true;
        if (std::chrono::steady_clock::now() >= end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}
