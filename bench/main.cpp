// The cost of one full analysis of a service-month: GetDataSemana, the eleven summaries and one
// detail for the first row of each, in process and over HTTP on loopback; then ten times the data,
// then eight clients at once.
#include "AnalysisWalk.h"
#include "BenchDatabase.h"
#include "HttpSession.h"
#include "Statistics.h"

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
#include <sstream>
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

void concurrent(const std::string& schema, int clients, double seconds) {
    BenchDatabase db(schema, 1);
    server::RemoteDataModule module(db.path());
    LiveHttp live(module);
    std::atomic<long> calls{0}, errors{0}, analyses{0};
    std::atomic<bool> stop{false};
    std::vector<std::thread> threads;
    const auto start = Clock::now();
    for (int c = 0; c < clients; ++c)
        threads.emplace_back([&] {
            bench::HttpSession http("127.0.0.1", live.port);
            const Caller remote = [&http](const std::string& method, const json& params) {
                return http(method, params);
            };
            while (!stop) {
                try {
                    calls += analyse(remote, nullptr);
                    ++analyses;
                } catch (const std::exception&) {
                    ++errors;
                }
            }
        });
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    stop = true;
    for (auto& t : threads)
        t.join();
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("\n%d concurrent clients over HTTP for %.1f s: %.0f calls/s, %.1f analyses/s, %ld errors\n",
                clients, elapsed, calls / elapsed, analyses / elapsed, errors.load());
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

} // namespace

int main(int argc, char** argv) {
    const std::string schema = readSchema();
    // restcont-bench --profile ROUNDS: the base data only, in-process and over HTTP, nothing else, so
    // that an instruction count (valgrind --tool=callgrind) reads per analysis.
    if (argc > 1 && std::string(argv[1]) == "--profile") {
        measure(schema, 1, argc > 2 ? std::max(1, std::atoi(argv[2])) : 10);
        return 0;
    }
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 51;
    std::printf("restcont-bench: %d rounds per measurement\n", rounds);
    const double floor = bareRoundTrip(500);
    std::printf("bare HTTP round trip: %.3f ms per call, %.3f ms for the 23 calls of an analysis\n", floor,
                23 * floor);
    const Measured base = measure(schema, 1, rounds);
    const Measured large = measure(schema, 10, std::max(5, rounds / 5));
    std::printf("\nten times the data: whole analysis in-process x%.2f, HTTP x%.2f\n",
                median(large.local.analyses) / median(base.local.analyses),
                median(large.remote.analyses) / median(base.remote.analyses));
    concurrent(schema, 8, 3.0);
    // Optionally the demo database too: restcont-bench ROUNDS DEMO.db SERVICE (branch 0001, March 2026).
    if (argc > 3)
        measureOn(argv[2], std::string("Demo database ") + argv[2] + ", branch 0001, service " + argv[3],
                  rounds, argv[3]);
    return 0;
}
