#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

// The real restcont-server binary, started on a free loopback port over a database file. The
// constructor returns once the server prints its "listening on" line (it accepts connections from
// then on); the destructor stops it with SIGTERM and waits for it.
class ServerProcess {
public:
    struct Options {
        std::optional<std::string> secret;  // written to a file passed as --secret-file
        std::vector<std::string> extraArgs; // e.g. {"--max-sessions", "2"}
        bool captureStderr = false;         // keep the request log for stderrText()
    };

    explicit ServerProcess(const std::string& databasePath);
    ServerProcess(const std::string& databasePath, Options options);
    ~ServerProcess();
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    const std::string& host() const { return host_; }
    int port() const { return port_; }
    pid_t pid() const { return pid_; }

    // SIGTERM and wait; the exit status as waitpid reports it (see WIFEXITED). Idempotent.
    int stop();
    // The server's standard error so far (only with captureStderr).
    std::string stderrText() const;

    // The binary: $RESTCONT_BINARY_DIR/bin/restcont-server, else the one this build made.
    static std::string binaryPath();

    struct Outcome {
        int exitCode = -1; // -1 when it did not exit normally
        std::string output, errors;
    };
    // Runs the binary with these arguments to its end (for command lines that must fail or print
    // help).
    static Outcome runToEnd(const std::vector<std::string>& args);

private:
    std::filesystem::path folder_;
    std::string host_ = "127.0.0.1";
    int port_ = 0;
    pid_t pid_ = -1;
    int status_ = 0;
};
