// restcont-check-bare: the calls a month-wide check makes for every service of a database, one after
// another in process and nothing else (no verdicts, sentences, warnings or output): the bare cost
// that the check's run over several jobs is measured against.
//
//     restcont-check-bare --database FILE|URL --month YYYY-MM [--runs N]

#include "AnalysisWalk.h"
#include "Statistics.h"
#include "check/Model.h"
#include "check/Targets.h"
#include "server/RemoteDataModule.h"
#include "server/rules/Calendar.h"
#include "server/store/Database.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

namespace {

using nlohmann::json;

struct Options {
    std::string database;
    std::string month;
    int runs = 3;
};

Options parse(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc)
            throw std::invalid_argument("falta o valor de " + arg);
        if (arg == "--database")
            options.database = argv[++i];
        else if (arg == "--month")
            options.month = argv[++i];
        else if (arg == "--runs")
            options.runs = std::stoi(argv[++i]);
        else
            throw std::invalid_argument("argumento desconhecido: " + arg);
    }
    if (options.database.empty() || options.month.empty() || options.runs < 1 || options.runs > 100)
        throw std::invalid_argument(
            "uso: restcont-check-bare --database ARQUIVO|URL --month AAAA-MM [--runs N]");
    return options;
}

// The check's walk of one service-month: the week span, each summary and the detail of every row.
long walk(server::RemoteDataModule& module, const check::Target& target, const check::Month& month) {
    server::SessionState session;
    // Only the summaries go to JSON: their rows give the details' arguments.
    const auto call = [&](const std::string& method, const json& params) {
        return module.call(method, params, session).packet;
    };
    const std::string first = server::isoDate(month.span.first);
    const std::string last = server::isoDate(month.span.last);
    const proto::Packet weeks = call("GetDataSemana", {first, last});
    const json weekSpan{proto::valueToJson(weeks.rows.at(0).at(0)),
                        proto::valueToJson(weeks.rows.at(0).at(1))};
    long calls = 1;
    for (const bench::Step& step : bench::analysisSteps()) {
        const json summary = proto::packetToJson(
            call(step.summary, step.weekly ? json{target.branch, target.service, weekSpan[0], weekSpan[1]}
                                           : json{target.branch, target.service, first, last}));
        ++calls;
        for (std::size_t row = 0; row < summary.at("rows").size(); ++row, ++calls)
            call(step.detail, bench::detailParams(step, summary, row, first));
    }
    return calls;
}

} // namespace

int main(int argc, char** argv) {
    try {
        const Options options = parse(argc, argv);
        const check::Month month = check::parseMonth(options.month);
        std::vector<check::Target> targets;
        {
            server::Database local(options.database);
            targets = check::listTargets(local, {}, {});
        }
        server::RemoteDataModule module(options.database);
        std::vector<double> seconds;
        for (int run = 1; run <= options.runs; ++run) {
            const auto start = std::chrono::steady_clock::now();
            long calls = 0, judged = 0;
            for (const check::Target& target : targets)
                if (target.skipReason.empty()) {
                    calls += walk(module, target, month);
                    ++judged;
                }
            seconds.push_back(
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
            std::printf("execução %d: %ld serviços, %ld chamadas, %.3f s\n", run, judged, calls,
                        seconds.back());
        }
        const auto [low, high] = std::minmax_element(seconds.begin(), seconds.end());
        std::printf("mediana %.3f s (mín. %.3f, máx. %.3f) em %d execuções\n", bench::median(seconds), *low,
                    *high, options.runs);
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "restcont-check-bare: " << error.what() << "\n";
        return 2;
    }
}
