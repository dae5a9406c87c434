#include "ServerProcess.h"

#include "protocol/HostPort.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::filesystem::path freshFolder() {
    static std::atomic<int> counter{0};
    auto folder = std::filesystem::temp_directory_path() /
                  ("restcont-server-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// fork + exec with standard output to `outFd` and standard error to `errFd` (-1 keeps the parent's).
pid_t spawn(const std::vector<std::string>& args, int outFd, int errFd) {
    std::vector<char*> argv;
    std::string binary = ServerProcess::binaryPath();
    argv.push_back(binary.data());
    std::vector<std::string> copy = args;
    for (auto& arg : copy)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0) {
        ::dup2(outFd, STDOUT_FILENO);
        if (errFd >= 0)
            ::dup2(errFd, STDERR_FILENO);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    return pid;
}

int waitFor(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

} // namespace

std::string ServerProcess::binaryPath() {
    if (const char* dir = std::getenv("RESTCONT_BINARY_DIR"))
        return std::string(dir) + "/bin/restcont-server";
    return RESTCONT_SERVER_BINARY_DEFAULT;
}

ServerProcess::ServerProcess(const std::string& databasePath) : ServerProcess(databasePath, Options{}) {}

ServerProcess::ServerProcess(const std::string& databasePath, Options options) : folder_(freshFolder()) {
    std::vector<std::string> args{"--database", databasePath, "--listen", "127.0.0.1:0"};
    if (options.secret) {
        const auto secretFile = folder_ / "secret";
        std::ofstream(secretFile) << *options.secret << "\n";
        std::filesystem::permissions(secretFile, std::filesystem::perms::owner_read |
                                                     std::filesystem::perms::owner_write);
        args.insert(args.end(), {"--secret-file", secretFile.string()});
    }
    args.insert(args.end(), options.extraArgs.begin(), options.extraArgs.end());

    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        throw std::runtime_error("pipe failed");
    int errFd = -1;
    if (options.captureStderr)
        errFd = ::open((folder_ / "stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_ = spawn(args, pipeFds[1], errFd);
    ::close(pipeFds[1]);
    if (errFd >= 0)
        ::close(errFd);

    // The first line, or end of file when the server gives up before listening.
    std::string line;
    char c = 0;
    while (true) {
        const ssize_t got = ::read(pipeFds[0], &c, 1);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0 || c == '\n')
            break;
        line += c;
    }
    ::close(pipeFds[0]);
    // The server names where it listens as a client would type it: [v6]:PORT for IPv6.
    const std::string prefix = "listening on ";
    std::optional<proto::HostPort> address;
    if (line.rfind(prefix, 0) == 0) {
        try {
            address = proto::parseHostPort(std::string_view(line).substr(prefix.size()));
        } catch (const std::invalid_argument&) {
        }
    }
    if (!address) {
        stop();
        throw std::runtime_error("restcont-server did not start (status " + std::to_string(status_) +
                                 "), first line: '" + line + "'");
    }
    host_ = address->host;
    port_ = address->port;
}

ServerProcess::~ServerProcess() {
    stop();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

int ServerProcess::stop() {
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        // A server a test stopped (SIGSTOP) would keep the signal pending forever.
        ::kill(pid_, SIGCONT);
        status_ = waitFor(pid_);
        pid_ = -1;
    }
    return status_;
}

std::string ServerProcess::stderrText() const {
    return readFile(folder_ / "stderr");
}

ServerProcess::Outcome ServerProcess::runToEnd(const std::vector<std::string>& args) {
    const auto folder = freshFolder();
    const int outFd = ::open((folder / "out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int errFd = ::open((folder / "err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const pid_t pid = spawn(args, outFd, errFd);
    ::close(outFd);
    ::close(errFd);
    const int status = waitFor(pid);
    Outcome outcome;
    outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    outcome.output = readFile(folder / "out");
    outcome.errors = readFile(folder / "err");
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return outcome;
}
