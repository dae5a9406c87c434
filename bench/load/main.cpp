// restcont-load: N sessions of M analysis calls each, at once, against the real restcont-server
// started here on a free loopback port, or one started elsewhere (--target); calls per second,
// latency, errors and, for the server started here, its memory.
#include "LoadDatabase.h"
#include "LoadOptions.h"
#include "LoadReport.h"
#include "LoadRun.h"
#include "ServerMemory.h"
#include "ServerProcess.h"
#include "Statistics.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <optional>
#include <sys/wait.h>
#include <thread>

namespace {

using load::LoadOptions;

// One pool thread per kept-alive connection, and room for every session at once: a server sized
// below the load would measure its queue, not its work.
ServerProcess::Options serverOptions(const LoadOptions& load, int sessions, bool expireFast) {
    ServerProcess::Options options;
    options.captureStderr = true; // one log line per request would drown the table
    options.extraArgs = {"--threads", std::to_string(std::max(32, sessions + 8)), "--max-sessions",
                         std::to_string(std::max(64, sessions))};
    if (expireFast)
        options.extraArgs.insert(options.extraArgs.end(), {"--session-idle", "1"});
    if (load.sessionsUrl)
        options.extraArgs.insert(options.extraArgs.end(), {"--sessions", *load.sessionsUrl});
    return options;
}

void announce(const ServerProcess& server, int sessions) {
    std::cerr << "restcont-load: servidor pid " << server.pid() << " em " << server.host() << ":"
              << server.port() << " para N=" << sessions << std::endl;
}

void reportErrors(const load::LoadOutcome& outcome) {
    for (const auto& [text, count] : bench::mostFrequent(outcome.errorTexts, 5))
        std::cerr << "restcont-load: " << count << " x " << text << "\n";
}

// A server that ended during the load, or did not stop cleanly when asked, failed the run even if
// every call it answered was right.
void checkServer(std::optional<load::MemorySample> memory, load::LoadOutcome& outcome) {
    if (!memory)
        outcome.addError("o servidor terminou durante a carga");
}

void checkStop(ServerProcess& server, load::LoadOutcome& outcome) {
    const int status = server.stop();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        outcome.addError("o servidor não terminou de forma limpa (estado " + std::to_string(status) + ")");
}

// The figures of a run that ended with the server gone stop there: the next configuration would
// measure a dead address, or a fresh server that hides what happened.
struct Measure {
    long errors = 0;
    bool serverGone = false;
};

void printLine(const LoadOptions& options, int sessions, std::optional<int> round,
               const load::LoadOutcome& outcome, std::optional<load::MemorySample> memory) {
    const std::string engine = options.target ? "alvo" : load::engineName(options.engine);
    std::cout << load::tableLine({engine, sessions, options.calls, round, &outcome, memory}) << std::endl;
    reportErrors(outcome);
}

Measure measureTarget(const LoadOptions& options, int sessions) {
    const proto::HostPort& target = *options.target;
    std::cerr << "restcont-load: servidor em " << proto::formatHostPort(target.host, target.port)
              << " para N=" << sessions << std::endl;
    load::LoadPlan plan{target.host, target.port,         sessions, options.calls, options.secret,
                        false,       load::demoAnalysis()};
    const load::LoadOutcome outcome = load::runLoad(plan);
    printLine(options, sessions, std::nullopt, outcome, std::nullopt);
    return {outcome.errors, outcome.serverGone};
}

Measure measureOnce(const LoadOptions& options, const std::string& database, int sessions) {
    ServerProcess server(database, serverOptions(options, sessions, false));
    announce(server, sessions);
    load::LoadPlan plan{server.host(), server.port(),       sessions, options.calls, {},
                        false,         load::demoAnalysis()};
    load::LoadOutcome outcome = load::runLoad(plan);
    const auto memory = load::sampleMemory(server.pid());
    checkServer(memory, outcome);
    checkStop(server, outcome);
    printLine(options, sessions, std::nullopt, outcome, memory);
    return {outcome.errors, outcome.serverGone || !memory};
}

Measure measureRounds(const LoadOptions& options, const std::string& database, int sessions) {
    ServerProcess server(database, serverOptions(options, sessions, options.abandon));
    announce(server, sessions);
    Measure measure;
    std::vector<long> resident;
    for (int round = 1; round <= options.rounds; ++round) {
        load::LoadPlan plan{server.host(),   server.port(),       sessions, options.calls, {},
                            options.abandon, load::demoAnalysis()};
        load::LoadOutcome outcome = load::runLoad(plan);
        if (options.abandon) // past the idle time, so the next round's first session drops them
            std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        const auto memory = load::sampleMemory(server.pid());
        checkServer(memory, outcome);
        if (round == options.rounds)
            checkStop(server, outcome);
        if (memory)
            resident.push_back(memory->residentKiB);
        printLine(options, sessions, round, outcome, memory);
        measure.errors += outcome.errors;
        measure.serverGone = outcome.serverGone || !memory;
        if (measure.serverGone)
            break;
    }
    std::cout << "\n"
              << (options.abandon ? "sessões abandonadas (--session-idle 1); " : "sessões fechadas; ")
              << load::verdictText(load::judgeMemory(resident)) << "\n"
              << std::endl;
    return measure;
}

Measure measure(const LoadOptions& options, const std::optional<load::LoadDatabase>& database, int sessions) {
    if (options.target)
        return measureTarget(options, sessions);
    return options.rounds > 0 ? measureRounds(options, database->location(), sessions)
                              : measureOnce(options, database->location(), sessions);
}

} // namespace

int main(int argc, char** argv) {
    LoadOptions options;
    try {
        options = load::parseLoadOptions({argv + 1, argv + argc});
    } catch (const std::exception& error) {
        std::cerr << "restcont-load: " << error.what() << "\n" << load::loadUsageText();
        return 2;
    }
    if (options.help) {
        std::cout << load::loadUsageText();
        return 0;
    }
    // A server that dies under the load closes sockets mid-write; that is an error to count, not a
    // reason to end.
    std::signal(SIGPIPE, SIG_IGN);

    long errors = 0;
    try {
        // A server measured elsewhere brings its own database.
        std::optional<load::LoadDatabase> database;
        if (!options.target) {
            database.emplace(options.database, options.engine);
            std::cerr << "restcont-load: banco " << database->location() << std::endl;
        }
        if (options.rounds == 0)
            std::cout << load::tableHeader(false) << std::endl;
        for (const int sessions : options.sessions) {
            if (options.rounds > 0)
                std::cout << load::tableHeader(true) << std::endl;
            const Measure measured = measure(options, database, sessions);
            errors += measured.errors;
            if (measured.serverGone) {
                std::cerr
                    << "restcont-load: o servidor terminou ou deixou de responder durante a carga com N="
                    << sessions << "; medida interrompida (só contam as chamadas respondidas).\n";
                return 1;
            }
        }
    } catch (const std::exception& error) {
        std::cerr << "restcont-load: " << error.what() << "\n";
        return 2;
    }
    if (errors > 0) {
        std::cerr << "restcont-load: " << errors << " erro(s)\n";
        return 1;
    }
    return 0;
}
