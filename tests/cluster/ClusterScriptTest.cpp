#include "Balancer.h"
#include "FreePort.h"
#include "HttpSession.h"
#include "ServerProcess.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <regex>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

std::string readFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// The processes still running in a process group, or whose command line names a path.
std::vector<std::string> leftOver(pid_t group, const std::string& path) {
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string pid = entry.path().filename().string();
        if (pid.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::string command = readFile(entry.path() / "cmdline");
        for (char& c : command)
            if (c == '\0')
                c = ' ';
        // /proc/PID/stat: "pid (name) state ppid pgrp ..."; the name may hold spaces.
        const std::string stat = readFile(entry.path() / "stat");
        const auto close = stat.rfind(')');
        std::istringstream rest(close == std::string::npos ? "" : stat.substr(close + 1));
        std::string state;
        long parent = 0, processGroup = 0;
        rest >> state >> parent >> processGroup;
        if (state == "Z")
            continue;
        if (processGroup == group || command.find(path) != std::string::npos)
            found.push_back(pid + ": " + command);
    }
    return found;
}

// scripts/cluster.sh as a user runs it from a terminal: in a process group of its own, the one a
// Ctrl-C reaches.
class ClusterScript {
public:
    explicit ClusterScript(int port) {
        // The build whose bin/ holds the server the tests run.
        const auto build = std::filesystem::path(ServerProcess::binaryPath()).parent_path().parent_path();
        std::string pattern =
            (std::filesystem::temp_directory_path() / "restcont-cluster-test-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp failed");
        folder_ = pattern;
        // As root the script runs PostgreSQL as the user postgres, who must reach its folder inside.
        std::filesystem::permissions(folder_, std::filesystem::perms::owner_all |
                                                  std::filesystem::perms::group_exec |
                                                  std::filesystem::perms::others_exec);
        std::vector<std::string> command{"/bin/bash",
                                         (Balancer::sourceDir() / "scripts" / "cluster.sh").string(),
                                         "--listen", "127.0.0.1:" + std::to_string(port)};
        std::vector<std::string> settings{"BUILD_DIR=" + build.string(), "RESTCONT_PREBUILT=1",
                                          "RESTCONT_CHECK_INTER=1s", "TMPDIR=" + folder_.string()};
        std::vector<char*> argv, env;
        for (auto& arg : command)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        for (char** variable = environ; *variable; ++variable)
            env.push_back(*variable);
        for (auto& setting : settings)
            env.push_back(setting.data());
        env.push_back(nullptr);
        const std::string out = (folder_ / "out").string();
        const int outFd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        const int inFd = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
        pid_ = ::fork();
        if (pid_ == 0) {
            // As from a terminal: a shell started with SIGINT ignored could not trap it.
            ::signal(SIGINT, SIG_DFL);
            ::signal(SIGQUIT, SIG_DFL);
            ::setpgid(0, 0);
            ::dup2(inFd, STDIN_FILENO);
            ::dup2(outFd, STDOUT_FILENO);
            ::dup2(outFd, STDERR_FILENO);
            ::execve(argv[0], argv.data(), env.data());
            ::_exit(127);
        }
        ::setpgid(pid_, pid_);
        ::close(outFd);
        ::close(inFd);
    }

    ~ClusterScript() {
        if (running()) {
            ::kill(-pid_, SIGTERM);
            finished(30s);
        }
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    pid_t group() const { return pid_; }
    // The temporary folder the script makes: TMPDIR is this object's own, so it holds only that.
    const std::filesystem::path& tmpdir() const { return folder_; }
    std::string output() const { return readFile(folder_ / "out"); }

    // The exit status once the script has ended within `limit` (-1 when it did not end).
    int finished(std::chrono::milliseconds limit) {
        Balancer::waitUntil([&] { return !running(); }, limit);
        if (running())
            return -1;
        return WIFEXITED(status_) ? WEXITSTATUS(status_) : 128 + WTERMSIG(status_);
    }
    bool running() {
        if (pid_ > 0 && !ended_ && ::waitpid(pid_, &status_, WNOHANG) == pid_)
            ended_ = true;
        return pid_ > 0 && !ended_;
    }

private:
    std::filesystem::path folder_;
    pid_t pid_ = -1;
    bool ended_ = false;
    int status_ = 0;
};

TEST(ClusterScript, ServesOneSessionThroughTheBalancerAndCtrlCLeavesNothingBehind) {
    if (!Balancer::installed())
        GTEST_SKIP() << "haproxy não está instalado em " << Balancer::binary() << ": o script não rodou.";
    const int port = freeLoopbackPort();
    ClusterScript script(port);
    const bool ready = Balancer::waitUntil(
        [&] { return !script.running() || script.output().find("Ctrl-C para tudo") != std::string::npos; },
        180s);
    ASSERT_TRUE(ready && script.running()) << script.output();
    const std::string said = script.output();
    EXPECT_NE(said.find("Balanceador em 127.0.0.1:" + std::to_string(port)), std::string::npos) << said;
    std::smatch folder;
    ASSERT_TRUE(std::regex_search(said, folder, std::regex("registro (/\\S+)/servidor1\\.log"))) << said;
    ASSERT_EQ(std::filesystem::path(folder[1].str()).parent_path(), script.tmpdir());

    {
        // The screen's way in: a session opened through the balancer serves calls on any server.
        bench::HttpSession session("127.0.0.1", port);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(session.call("GetDataSemana", {"2026-03-01", "2026-03-31"}).at("rows").size(), 1u);
    }

    ::kill(-script.group(), SIGINT);
    EXPECT_EQ(script.finished(60s), 130) << script.output();
    EXPECT_FALSE(std::filesystem::exists(folder[1].str())) << script.output();
    EXPECT_EQ(leftOver(script.group(), folder[1].str()), std::vector<std::string>{});
}

} // namespace
