// The cost of one full analysis of a service-month: GetDataSemana, the eleven summaries and one
// detail for the first row of each, in process and over HTTP on loopback; then ten times the data,
// then eight clients at once. With --target, the same over HTTP against a server started elsewhere.
#include "AnalysisWalk.h"
#include "BenchDatabase.h"
#include "HttpSession.h"
#include "Statistics.h"
#include "TargetOption.h"

#include "protocol/HostPort.h"
#include "protocol/Packet.h"
#include "server/CallError.h"
#include "server/RemoteDataModule.h"
#include "server/RpcHttpServer.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace {

using nlohmann::json;
using Clock = std::chrono::steady_clock;

using bench::Caller;

struct Timings {
    std::map<std::string, std::vector<double>> perMethod; // ms
    std::vector<double> perCall;
    std::vector<double> analyses;
    int calls = 0;
};

using bench::median;

// One analysis; answers the number of calls made.
int analyse(const Caller& call, Timings* timings, const std::string& service = "001") {
    const Caller timed = [&](const std::string& method, const json& params) {
        const auto start = Clock::now();
        json packet = call(method, params);
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        if (timings) {
            timings->perMethod[method].push_back(ms);
            timings->perCall.push_back(ms);
        }
        return packet;
    };
    bench::AnalysisTarget target;
    target.service = service;
    return bench::analyse(timed, target);
}

Caller inProcess(server::RemoteDataModule& module, server::SessionState& session) {
    return [&module, &session](const std::string& method, const json& params) {
        return proto::packetToJson(module.call(method, params, session).packet);
    };
}

// --sessions URL: the servers started here keep their sessions there, as servers that share them do.
std::optional<std::string> sharedSessions;

struct LiveHttp {
    explicit LiveHttp(server::RemoteDataModule& module) : http(module, config()) {
        port = http.bind("127.0.0.1", 0);
        thread = std::thread([this] { http.run(); });
        while (!http.running())
            std::this_thread::yield();
    }
    ~LiveHttp() {
        http.stop();
        thread.join();
    }
    static server::RpcHttpServer::Config config() {
        server::RpcHttpServer::Config c;
        c.log = false;
        c.threads = 16;
        c.sessionsUrl = sharedSessions;
        return c;
    }
    server::RpcHttpServer http;
    int port = 0;
    std::thread thread;
};

struct Measured {
    Timings local, remote;
};

Measured measureOn(const std::string& path, const std::string& title, int rounds,
                   const std::string& service) {
    server::RemoteDataModule module(path);
    LiveHttp live(module);
    Measured m;
    server::SessionState session;
    bench::HttpSession http("127.0.0.1", live.port);
    const Caller local = inProcess(module, session);
    const Caller remote = [&http](const std::string& method, const json& params) {
        return http(method, params);
    };
    analyse(local, nullptr, service); // warm the caches and the statements
    analyse(remote, nullptr, service);
    for (int round = 0; round < rounds; ++round) {
        for (auto [caller, timings] : {std::pair{&local, &m.local}, std::pair{&remote, &m.remote}}) {
            const auto start = Clock::now();
            timings->calls = analyse(*caller, timings, service);
            timings->analyses.push_back(
                std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        }
    }
    std::printf("\n%s; %d calls per analysis\n", title.c_str(), m.remote.calls);
    std::printf("%-20s %12s %12s %8s\n", "method (median ms)", "in-process", "HTTP", "ratio");
    for (const auto& [method, values] : m.local.perMethod) {
        const double a = median(values), b = median(m.remote.perMethod[method]);
        std::printf("%-20s %12.3f %12.3f %8.2f\n", method.c_str(), a, b, a > 0 ? b / a : 0);
    }
    const double callA = median(m.local.perCall), callB = median(m.remote.perCall);
    const double allA = median(m.local.analyses), allB = median(m.remote.analyses);
    std::printf("%-20s %12.3f %12.3f %8.2f\n", "any call", callA, callB, callB / callA);
    std::printf("%-20s %12.3f %12.3f %8.2f\n", "whole analysis", allA, allB, allB / allA);
    std::printf("HTTP and session overhead: %.3f ms per analysis (%.0f%% of it)\n", allB - allA,
                100 * (allB - allA) / allB);
    return m;
}

Measured measure(const std::string& schema, int scale, int rounds) {
    BenchDatabase db(schema, scale);
    return measureOn(db.path(),
                     "Data x" + std::to_string(scale) + ": " + std::to_string(db.items()) + " menu items, " +
                         std::to_string(db.lines()) + " product lines in the week span",
                     rounds, "001");
}

// Answers the number of failed analyses; a client whose session is lost stops there.
long concurrentOn(const std::string& host, int port, int clients, double seconds,
                  const bench::ServerAccess& access = {}) {
    std::atomic<long> calls{0}, errors{0}, analyses{0};
    std::atomic<bool> stop{false};
    std::vector<std::thread> threads;
    const auto start = Clock::now();
    for (int c = 0; c < clients; ++c)
        threads.emplace_back([&] {
            try {
                bench::HttpSession http(host, port, access);
                const Caller remote = [&http](const std::string& method, const json& params) {
                    return http(method, params);
                };
                while (!stop) {
                    try {
                        calls += analyse(remote, nullptr);
                        ++analyses;
                    } catch (const bench::SessionLost&) {
                        throw;
                    } catch (const std::exception&) {
                        ++errors;
                    }
                }
            } catch (const std::exception& error) {
                std::fprintf(stderr, "restcont-bench: %s\n", error.what());
                ++errors;
            }
        });
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    stop = true;
    for (auto& t : threads)
        t.join();
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("\n%d concurrent clients over HTTP for %.1f s: %.0f calls/s, %.1f analyses/s, %ld errors\n",
                clients, elapsed, calls / elapsed, analyses / elapsed, errors.load());
    return errors;
}

long concurrent(const std::string& schema, int clients, double seconds) {
    BenchDatabase db(schema, 1);
    server::RemoteDataModule module(db.path());
    LiveHttp live(module);
    return concurrentOn("127.0.0.1", live.port, clients, seconds);
}

// A server this tool did not start: over HTTP only, on whatever database it serves.
void measureTarget(const proto::HostPort& target, int rounds, const std::string& service,
                   const bench::ServerAccess& access) {
    bench::HttpSession http(target.host, target.port, access);
    const Caller remote = [&http](const std::string& method, const json& params) {
        return http(method, params);
    };
    analyse(remote, nullptr, service); // warm the server's caches and statements
    Timings timings;
    for (int round = 0; round < rounds; ++round) {
        const auto start = Clock::now();
        timings.calls = analyse(remote, &timings, service);
        timings.analyses.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::printf("\nServer at %s, branch 0001, service %s; %d calls per analysis\n",
                proto::formatHostPort(target.host, target.port).c_str(), service.c_str(), timings.calls);
    std::printf("%-20s %12s\n", "method (median ms)", "HTTP");
    for (const auto& [method, values] : timings.perMethod)
        std::printf("%-20s %12.3f\n", method.c_str(), median(values));
    std::printf("%-20s %12.3f\n", "any call", median(timings.perCall));
    std::printf("%-20s %12.3f\n", "whole analysis", median(timings.analyses));
}

// The floor under any call: a kept-alive cpp-httplib round trip on loopback that does no work, with
// a request and an answer of a typical call's size.
double bareRoundTrip(int calls) {
    httplib::Server echo;
    echo.set_tcp_nodelay(true);
    echo.set_keep_alive_max_count(1000000);
    const std::string answer(1500, 'x');
    echo.Post("/echo", [&answer](const httplib::Request&, httplib::Response& res) {
        res.set_content(answer, "application/json");
    });
    const int port = echo.bind_to_any_port("127.0.0.1");
    std::thread thread([&echo] { echo.listen_after_bind(); });
    while (!echo.is_running())
        std::this_thread::yield();
    std::vector<double> times;
    {
        httplib::Client client("127.0.0.1", port);
        client.set_tcp_nodelay(true);
        client.set_keep_alive(true);
        const std::string request(100, 'y');
        for (int i = 0; i < calls + 20; ++i) {
            const auto start = Clock::now();
            const auto res = client.Post("/echo", request, "application/json");
            if (!res || res->status != 200)
                throw std::runtime_error("echo failed");
            if (i >= 20) // the first calls open the connection and warm up
                times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        }
    }
    echo.stop();
    thread.join();
    return median(times);
}

std::string readSchema() {
    std::ifstream file(std::string(RESTCONT_SOURCE_DIR) + "/demo/schema.sql");
    std::stringstream text;
    text << file.rdbuf();
    if (text.str().empty())
        throw std::runtime_error("demo/schema.sql not found");
    return text.str();
}

const char* const kUsage =
    "uso: restcont-bench [RODADAS [BANCO SERVIÇO]]\n"
    "     restcont-bench --profile [RODADAS]\n"
    "     restcont-bench --target MÁQUINA:PORTA [--service SERVIÇO] [--secret-file ARQUIVO] [RODADAS]\n"
    "     restcont-bench --sessions URL [RODADAS [BANCO SERVIÇO]]\n"
    "Sem --target, inicia aqui o servidor sobre bancos que gera (e, com BANCO, sobre ele) e mede a\n"
    "análise em processo e por HTTP, com dez vezes os dados e oito clientes ao mesmo tempo.\n"
    "  --target MÁQUINA:PORTA   mede por HTTP um servidor já em execução ([IPv6]:PORTA para IPv6),\n"
    "                           sobre o banco que ele serve: nenhum servidor é iniciado aqui\n"
    "  --service SERVIÇO        com --target: o serviço analisado (padrão 002, o da demonstração)\n"
    "  --sessions URL           o servidor iniciado aqui guarda as sessões nesse banco PostgreSQL\n"
    "                           (postgresql://...), como vários servidores as dividem\n"
    "  --secret-file ARQUIVO    com --target: o segredo que o servidor exige (fora do endereço local)\n"
    "  --help                   mostra este texto\n"
    "Código de saída: 0 medido, 1 o servidor falhou ou não respondeu, 2 linha de comando inválida.\n";

struct BenchLine {
    std::optional<proto::HostPort> target;
    std::string service = "002";
    std::optional<std::string> sessions;
    std::string secret;
    std::vector<std::string> positional;
    bool help = false;
};

BenchLine readLine(int argc, char** argv) {
    BenchLine line;
    bool serviceGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto value = [&] {
            if (i + 1 >= argc)
                throw std::invalid_argument("falta o valor de " + arg + ".");
            return std::string(argv[++i]);
        };
        if (arg == "--help" || arg == "-h") {
            line.help = true;
        } else if (arg == "--target") {
            line.target = bench::parseTargetOption(value());
        } else if (arg == "--secret-file") {
            line.secret = bench::readSecretOption(value());
        } else if (arg == "--service") {
            line.service = value();
            serviceGiven = true;
        } else if (arg == "--sessions") {
            line.sessions = value();
        } else {
            line.positional.push_back(arg);
        }
    }
    bench::checkSecretNeedsTarget(!line.secret.empty(), line.target.has_value());
    if (serviceGiven && !line.target)
        throw std::invalid_argument("--service só vale com --target (sem ele: RODADAS BANCO SERVIÇO).");
    if (line.target && line.sessions)
        throw std::invalid_argument("--sessions vale para o servidor iniciado aqui, não com --target.");
    if (line.target && line.positional.size() > 1)
        throw std::invalid_argument("com --target, só RODADAS vem sem opção.");
    return line;
}

int rounds(const std::vector<std::string>& positional, std::size_t at, int otherwise) {
    return positional.size() > at ? std::max(1, std::atoi(positional[at].c_str())) : otherwise;
}

int runTarget(const BenchLine& line) {
    const int count = rounds(line.positional, 0, 51);
    std::printf("restcont-bench: %d rounds against %s\n", count,
                proto::formatHostPort(line.target->host, line.target->port).c_str());
    const bench::ServerAccess access{line.secret};
    measureTarget(*line.target, count, line.service, access);
    return concurrentOn(line.target->host, line.target->port, 8, 3.0, access) > 0 ? 1 : 0;
}

int runHere(const std::vector<std::string>& args) {
    const std::string schema = readSchema();
    // restcont-bench --profile ROUNDS: the base data only, in-process and over HTTP, nothing else, so
    // that an instruction count (valgrind --tool=callgrind) reads per analysis.
    if (!args.empty() && args[0] == "--profile") {
        measure(schema, 1, rounds(args, 1, 10));
        return 0;
    }
    const int count = rounds(args, 0, 51);
    std::printf("restcont-bench: %d rounds per measurement\n", count);
    const double floor = bareRoundTrip(500);
    std::printf("bare HTTP round trip: %.3f ms per call, %.3f ms for the 23 calls of an analysis\n", floor,
                23 * floor);
    const Measured base = measure(schema, 1, count);
    const Measured large = measure(schema, 10, std::max(5, count / 5));
    std::printf("\nten times the data: whole analysis in-process x%.2f, HTTP x%.2f\n",
                median(large.local.analyses) / median(base.local.analyses),
                median(large.remote.analyses) / median(base.remote.analyses));
    const long errors = concurrent(schema, 8, 3.0);
    // Optionally the demo database too: restcont-bench ROUNDS DEMO.db SERVICE (branch 0001, March 2026).
    if (args.size() > 2)
        measureOn(args[1], "Demo database " + args[1] + ", branch 0001, service " + args[2], count, args[2]);
    return errors > 0 ? 1 : 0;
}

} // namespace

int main(int argc, char** argv) {
    BenchLine line;
    try {
        line = readLine(argc, argv);
    } catch (const std::invalid_argument& error) {
        std::fprintf(stderr, "restcont-bench: %s\n%s", error.what(), kUsage);
        return 2;
    }
    if (line.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    sharedSessions = line.sessions;
    try {
        return line.target ? runTarget(line) : runHere(line.positional);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "restcont-bench: %s\n", error.what());
        return 1;
    }
}
