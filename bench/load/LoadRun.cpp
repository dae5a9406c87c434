#include "LoadRun.h"

#include "HttpSession.h"

#include <chrono>
#include <latch>
#include <memory>
#include <thread>

namespace load {

using Clock = std::chrono::steady_clock;
using nlohmann::json;

void LoadOutcome::addError(const std::string& text, long count) {
    errors += count;
    errorTexts[text] += count;
}

namespace {

struct SessionWork {
    LoadOutcome outcome;
    long attempts = 0; // calls sent, answered or not: the budget counts these
    Clock::time_point end;
};

// Counts the calls a session will not make as errors, never as calls.
void forfeit(LoadOutcome& outcome, long calls, const std::string& why) {
    if (calls <= 0)
        return;
    outcome.addError("chamada não feita: " + why, calls);
}

// A request nobody answered: the server is gone for every session.
void lost(SessionWork& work, const bench::SessionLost& error) {
    work.outcome.addError(error.what());
    if (dynamic_cast<const bench::ServerUnreachable*>(&error))
        work.outcome.serverGone = true;
}

// The session's calls: whole analyses one after the other until the budget is spent. A failed
// call counts once and the next analysis starts afresh, as the user would press verify again; a
// lost session ends with the rest of its calls counted as failed. Answers whether the session is
// still there.
bool makeCalls(bench::HttpSession& session, const LoadPlan& plan, SessionWork& work) {
    LoadOutcome& outcome = work.outcome;
    const bench::Caller timed = [&](const std::string& method, const json& params) {
        const auto start = Clock::now();
        ++work.attempts;
        try {
            json packet = session.call(method, params);
            ++outcome.calls;
            outcome.latencyMs.push_back(
                std::chrono::duration<double, std::milli>(Clock::now() - start).count());
            return packet;
        } catch (const bench::SessionLost&) {
            throw;
        } catch (const bench::CallFailure&) {
            ++outcome.calls; // answered, with an error or an answer it could not read
            throw;
        }
    };
    while (work.attempts < plan.callsPerSession) {
        try {
            bench::analyse(timed, plan.target, plan.callsPerSession - static_cast<int>(work.attempts));
        } catch (const bench::SessionLost& error) {
            lost(work, error);
            forfeit(outcome, plan.callsPerSession - work.attempts, "sessão perdida");
            work.end = Clock::now();
            return false;
        } catch (const std::exception& error) {
            outcome.addError(error.what());
        }
    }
    work.end = Clock::now();
    return true;
}

} // namespace

LoadOutcome runLoad(const LoadPlan& plan) {
    std::vector<SessionWork> works(static_cast<std::size_t>(plan.sessions));
    std::latch open(plan.sessions);
    std::latch go(1);
    std::vector<std::thread> threads;
    for (SessionWork& work : works)
        threads.emplace_back([&plan, &work, &open, &go] {
            std::unique_ptr<bench::HttpSession> session;
            try {
                session = std::make_unique<bench::HttpSession>(plan.host, plan.port,
                                                               bench::ServerAccess{plan.secret});
            } catch (const bench::SessionLost& error) {
                lost(work, error);
            } catch (const std::exception& error) {
                work.outcome.addError(error.what());
            }
            open.count_down();
            go.wait();
            if (!session) {
                forfeit(work.outcome, plan.callsPerSession, "sessão recusada");
                work.end = Clock::now();
                return;
            }
            if (!makeCalls(*session, plan, work)) {
                session->abandon();
                return;
            }
            try {
                if (plan.abandon)
                    session->abandon();
                else
                    session->close();
            } catch (const bench::SessionLost& error) {
                lost(work, error);
            } catch (const std::exception& error) {
                work.outcome.addError(error.what());
            }
        });
    open.wait();
    const auto start = Clock::now();
    go.count_down();
    for (std::thread& thread : threads)
        thread.join();

    LoadOutcome total;
    Clock::time_point end = start;
    for (SessionWork& work : works) {
        total.calls += work.outcome.calls;
        total.latencyMs.insert(total.latencyMs.end(), work.outcome.latencyMs.begin(),
                               work.outcome.latencyMs.end());
        for (const auto& [text, count] : work.outcome.errorTexts)
            total.addError(text, count);
        total.serverGone |= work.outcome.serverGone;
        end = std::max(end, work.end);
    }
    total.seconds = std::chrono::duration<double>(end - start).count();
    return total;
}

} // namespace load
