// restcont-crowd: a legitimate client's call latency while a crowd of idle and slow connections
// holds the server, the restcont-server started here on a free loopback port or one started
// elsewhere (--target).
#include "Crowd.h"
#include "CrowdOptions.h"
#include "LegitClient.h"
#include "LoadDatabase.h"
#include "ServerProcess.h"
#include "Statistics.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <optional>
#include <sys/wait.h>

namespace {

using crowd::CrowdOptions;

// Descriptors beyond the crowd's: the legitimate client, the server's pipe, the database.
constexpr std::size_t kSpareFiles = 64;

std::string fixed(double value, int decimals = 3) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

void printTable(const CrowdOptions& options, const crowd::CrowdCounts& crowd,
                const crowd::LegitOutcome& legit) {
    const std::vector<double>& latency = legit.latencyMs;
    std::cout
        << "| ociosas abertas | lentas abertas | reabertas | s | chamadas | erros | mediana ms | p90 ms | "
           "p99 ms | máx ms |\n"
           "|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n"
        << "| " << crowd.idleOpen << "/" << options.idle << " | " << crowd.slowOpen << "/" << options.slow
        << " | " << crowd.reopened << " | " << fixed(legit.seconds, 1) << " | " << latency.size() << " | "
        << legit.errors << " | " << fixed(bench::median(latency)) << " | "
        << fixed(bench::percentile(latency, 90)) << " | " << fixed(bench::percentile(latency, 99)) << " | "
        << fixed(latency.empty() ? 0 : *std::max_element(latency.begin(), latency.end())) << " |"
        << std::endl;
}

void reportErrors(const crowd::LegitOutcome& outcome) {
    for (const auto& [text, count] : bench::mostFrequent(outcome.errorTexts, 5))
        std::cerr << "restcont-crowd: " << count << " x " << text << "\n";
}

// Answers whether the run was clean: every connection of the crowd open, every call answered.
bool measure(const CrowdOptions& options, const proto::HostPort& target) {
    crowd::CrowdPlan plan;
    plan.target = target;
    plan.idle = options.idle;
    plan.slow = options.slow;
    plan.byteInterval = std::chrono::milliseconds(options.byteIntervalMs);
    crowd::Crowd crowd(plan);
    const crowd::CrowdCounts opened = crowd.waitOpen(std::chrono::seconds(10));
    std::cerr << "restcont-crowd: " << opened.idleOpen << " ociosas e " << opened.slowOpen
              << " lentas abertas em " << proto::formatHostPort(target.host, target.port)
              << "; cliente legítimo por " << options.seconds << " s" << std::endl;

    crowd::LegitPlan legit;
    legit.target = target;
    legit.access = {options.secret, options.callTimeoutSeconds};
    legit.duration = std::chrono::seconds(options.seconds);
    legit.analysis = load::demoAnalysis();
    const crowd::LegitOutcome outcome = crowd::runLegit(legit);
    const crowd::CrowdCounts last = crowd.counts();
    printTable(options, last, outcome);
    reportErrors(outcome);
    const bool allOpen = last.idleOpen == options.idle && last.slowOpen == options.slow;
    if (!allOpen)
        std::cerr << "restcont-crowd: nem todas as conexões da multidão ficaram abertas (" << last.failed
                  << " tentativas falharam, " << last.reopened << " fechadas pelo servidor)\n";
    if (outcome.latencyMs.empty())
        std::cerr << "restcont-crowd: nenhuma chamada do cliente legítimo foi respondida\n";
    return allOpen && outcome.errors == 0 && !outcome.latencyMs.empty();
}

} // namespace

int main(int argc, char** argv) {
    CrowdOptions options;
    try {
        options = crowd::parseCrowdOptions({argv + 1, argv + argc});
    } catch (const std::exception& error) {
        std::cerr << "restcont-crowd: " << error.what() << "\n" << crowd::crowdUsageText();
        return 2;
    }
    if (options.help) {
        std::cout << crowd::crowdUsageText();
        return 0;
    }
    std::signal(SIGPIPE, SIG_IGN);
    const std::size_t needed = static_cast<std::size_t>(options.idle + options.slow) + kSpareFiles;
    const std::size_t limit = crowd::raiseOpenFileLimit();
    if (limit < needed) {
        std::cerr << "restcont-crowd: o limite de arquivos abertos (" << limit << ") não comporta "
                  << options.idle + options.slow << " conexões; reduza --idle ou --slow.\n";
        return 2;
    }
    std::optional<load::LoadDatabase> database;
    std::optional<ServerProcess> server;
    proto::HostPort target;
    try {
        if (options.target) {
            target = *options.target;
        } else {
            database.emplace(options.database, load::Engine::Sqlite);
            ServerProcess::Options serverOptions;
            serverOptions.captureStderr = true; // one log line per request would drown the table
            serverOptions.extraArgs = {"--max-connections",
                                       std::to_string(std::max<std::size_t>(2048, needed))};
            server.emplace(database->location(), serverOptions);
            target = {server->host(), server->port()};
            std::cerr << "restcont-crowd: servidor pid " << server->pid() << std::endl;
        }
    } catch (const std::exception& error) {
        std::cerr << "restcont-crowd: " << error.what() << "\n";
        return 2;
    }
    bool clean = false;
    try {
        clean = measure(options, target);
    } catch (const std::exception& error) {
        std::cerr << "restcont-crowd: " << error.what() << "\n";
    }
    if (server) {
        const int status = server->stop();
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::cerr << "restcont-crowd: o servidor não terminou de forma limpa (estado " << status << ")\n";
            clean = false;
        }
    }
    return clean ? 0 : 1;
}
