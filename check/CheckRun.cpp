#include "check/CheckRun.h"

#include "check/Baseline.h"
#include "check/Findings.h"
#include "check/Judge.h"
#include "check/Runner.h"
#include "check/Targets.h"
#include "check/Writer.h"

#include "host/context/FormatSettings.h"
#include "protocol/Packet.h"
#include "reasons/Reasons.h"
#include "server/RemoteDataModule.h"
#include "server/store/DatabaseError.h"
#include "server/store/MenuRepository.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>
#include <utility>

namespace check {

namespace {

struct JudgeSettings {
    Month month;
    QLocale locale;
    bool contracts = false;
    bool strict = false;
};

// One job: its own connection to the local database and its own way to the server's methods.
class ServiceJudge : public Worker {
public:
    // Over the wire the job reads the local database through a connection of its own; in process
    // through the pool of its own module, between its calls, so that the job holds one connection.
    ServiceJudge(const std::string& database, server::DatabasePool* pool, PacketCaller call,
                 JudgeSettings settings)
        : pool_(pool), call_(std::move(call)), settings_(std::move(settings)) {
        if (!pool_)
            own_.emplace(database);
    }

    ServiceResult judge(const Target& target) override {
        if (!target.skipReason.empty()) {
            ServiceResult skipped = errorResult(target, target.skipReason);
            skipped.verdict = Verdict::Skipped;
            return skipped;
        }
        const Reading reading(*this);
        return judgeService(target);
    }

private:
    // A service's reads of the local database (in process, also its two dozen calls) share one
    // read transaction, which judges the service on one state of the data. Over SQLite each
    // statement outside one takes and drops the file's lock, and SQLite guards every file lock of
    // the process with one mutex: the jobs queued on it, and each statement also looked for a
    // journal on disk. Over PostgreSQL the menu cache's look at the data's version, a round trip
    // before each call, is made once for the service.
    class Reading {
    public:
        explicit Reading(ServiceJudge& judge) : judge_(judge) { judge_.beginReading(); }
        ~Reading() { judge_.endReading(); }
        Reading(const Reading&) = delete;
        Reading& operator=(const Reading&) = delete;

    private:
        ServiceJudge& judge_;
    };

    void beginReading() {
        try {
            withLocal([this](server::Database& db, server::MenuCache*) {
                reading_ = db.beginRead(server::ReadScope::Snapshot);
            });
        } catch (const std::exception&) {
            // The service's calls meet the same failure and answer it in their results.
        }
    }

    void endReading() noexcept {
        if (!std::exchange(reading_, false))
            return;
        try {
            withLocal([](server::Database& db, server::MenuCache*) { db.endRead(); });
        } catch (const std::exception&) {
            // A failed read closed the connection and its transaction with it; the failure is in
            // the service's result already.
        }
    }

    ServiceResult judgeService(const Target& target) {
        ServiceResult result = errorResult(target, {});
        // The service's own reading runs while the server computes its summaries.
        std::optional<std::string> readFailure;
        const Meanwhile readLocal = [&] {
            try {
                withLocal([&](server::Database& db, server::MenuCache* cache) {
                    result.warnings = dataWarnings(db, target, settings_.month, settings_.locale, cache);
                    if (settings_.contracts)
                        result.contradictions = contradictions(db, target, settings_.month, settings_.locale);
                });
            } catch (const std::exception& error) {
                readFailure = error.what();
            }
        };
        check::judge(call_, settings_.month, composerFor(target), readLocal, result);
        if (result.verdict == Verdict::Error)
            return result;
        if (readFailure)
            return errorResult(target, *readFailure);
        if (settings_.strict && result.verdict == Verdict::Clear && !result.warnings.empty())
            result.verdict = Verdict::Blocked;
        return result;
    }

    Composer composerFor(const Target& target) {
        return [this, &target, usage = std::optional<std::vector<server::UsageRule>>()](
                   const std::string& method, const proto::Packet& summary, std::size_t row,
                   const proto::Packet& detail) mutable {
            reasons::ReasonOptions options;
            // The weekly use row marks every weekday the dish was served: which of them the contract
            // refuses is the contract's to say.
            if (method == "GetUtilPratSem") {
                if (!usage)
                    withLocal([&](server::Database& db, server::MenuCache* cache) {
                        usage = server::MenuRepository(db, cache).usageRules(target.branch, target.service);
                    });
                const int dish = summary.fieldIndex("CDPRATO");
                const auto* code =
                    dish < 0 ? nullptr : std::get_if<std::string>(&summary.rows.at(row).at(dish));
                for (const server::UsageRule& rule : *usage)
                    if (code && rule.dish.code == *code)
                        options.allowedWeekdays = rule.allowed;
            }
            return reasons::rowReasonWithDays(method, summary, row, detail, settings_.locale, options)
                .toStdString();
        };
    }

    // In process the connection's menu cache comes along: the month's menu the methods have just
    // read is the one the warnings read again.
    template <typename Read> void withLocal(Read read) {
        if (!pool_)
            return read(*own_, nullptr);
        server::DatabasePool::Lease lease = pool_->acquire();
        try {
            read(lease.db(), &lease.cache());
        } catch (const server::DatabaseError&) {
            lease.discard();
            throw;
        }
    }

    server::DatabasePool* pool_;
    bool reading_ = false;
    std::optional<server::Database> own_;
    PacketCaller call_;
    JudgeSettings settings_;
};

int jobCount(const CheckOptions& options) {
    if (options.jobs > 0)
        return options.jobs;
    return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

ProgressReport progressLine(std::ostream& err, bool terminal) {
    if (!terminal)
        return {};
    const auto start = std::chrono::steady_clock::now();
    return [&err, start](std::size_t done, std::size_t total) {
        const double elapsed =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const double left =
            done ? elapsed / static_cast<double>(done) * static_cast<double>(total - done) : 0;
        char line[128];
        std::snprintf(line, sizeof line, "\r%zu de %zu serviços; faltam cerca de %.0f s   ", done, total,
                      left);
        err << line << (done == total ? "\n" : "") << std::flush;
    };
}

} // namespace

int runCheck(const CheckOptions& options, std::ostream& standardOut, std::ostream& err, Terminal terminal) {
    const Month month = parseMonth(options.month);
    std::optional<Baseline> baseline;
    if (options.baseline)
        baseline = Baseline::load(*options.baseline, month.text);
    const QLocale locale = host::FormatSettings();

    std::vector<Target> targets;
    {
        server::Database local(options.database);
        targets = listTargets(local, options.branches, options.services);
    }

    const JudgeSettings settings{month, locale, options.contracts, options.strict};
    const WorkerFactory makeWorker = [&]() -> std::unique_ptr<Worker> {
        if (!options.server) {
            // A module of its own for each job: one connection, and the menu cache beside it, serve
            // all of a service's calls, instead of each call landing on whichever pooled connection
            // is free and reading the menu again into that connection's cache.
            auto own = std::make_shared<server::RemoteDataModule>(options.database);
            auto session = std::make_shared<server::SessionState>();
            server::DatabasePool* pool = &own->pool();
            // The methods first, so that the warnings find the menu they read in the cache.
            PacketCaller call = [own, session](const std::vector<Call>& calls, const Meanwhile& meanwhile) {
                std::vector<proto::Packet> packets;
                for (const Call& one : calls)
                    packets.push_back(own->call(one.method, one.params, *session).packet);
                if (meanwhile)
                    meanwhile();
                return packets;
            };
            return std::make_unique<ServiceJudge>(options.database, pool, std::move(call), settings);
        }
        auto http = std::make_shared<PipelinedSession>(options.server->host, options.server->port,
                                                       bench::ServerAccess{options.secret.value_or(""), 30});
        PacketCaller call = [http](const std::vector<Call>& calls, const Meanwhile& meanwhile) {
            return http->call(calls, meanwhile);
        };
        return std::make_unique<ServiceJudge>(options.database, nullptr, std::move(call), settings);
    };

    std::ofstream file;
    if (options.out) {
        file.open(*options.out, std::ios::binary | std::ios::trunc);
        if (!file)
            throw std::runtime_error("não foi possível criar '" + *options.out + "'.");
    }
    std::ostream& out = options.out ? file : standardOut;
    const std::unique_ptr<Writer> writer =
        makeWriter(options.format, out, WriterSettings{month, locale, terminal.out && !options.out});
    bool errors = false, blocked = false, warned = false, contradicted = false;
    runAll(
        targets, jobCount(options), makeWorker,
        [&](ServiceResult&& result) {
            if (baseline)
                baseline->mark(result);
            errors = errors || result.verdict == Verdict::Error;
            blocked = blocked || result.verdict == Verdict::Blocked;
            warned = warned || !result.warnings.empty();
            contradicted = contradicted || !result.contradictions.empty();
            writer->add(std::move(result));
        },
        progressLine(err, terminal.err));
    writer->finish(baseline ? std::optional<Json>(baseline->compare()) : std::nullopt);
    out.flush();
    if (!out)
        throw std::runtime_error("não foi possível escrever a saída.");
    if (errors)
        return kNotJudged;
    if (blocked || (options.strict && warned) || (options.contracts && contradicted))
        return kBlocked;
    return kAllClear;
}

} // namespace check
