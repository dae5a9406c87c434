#include "LegitClient.h"

#include <optional>
#include <thread>

namespace crowd {
namespace {

using Clock = std::chrono::steady_clock;
using nlohmann::json;

// Thrown by the timed call once the run's time is up: not a failure, the end.
struct TimeUp {};

} // namespace

void LegitOutcome::addError(const std::string& text) {
    ++errors;
    ++errorTexts[text];
}

LegitOutcome runLegit(const LegitPlan& plan) {
    LegitOutcome outcome;
    const auto start = Clock::now();
    const auto end = start + plan.duration;
    const auto lost = [&outcome](const bench::CallFailure& error) { outcome.addError(error.what()); };
    while (Clock::now() < end) {
        std::optional<bench::HttpSession> session;
        try {
            session.emplace(plan.target.host, plan.target.port, plan.access);
            ++outcome.sessions;
        } catch (const bench::CallFailure& error) {
            lost(error);
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            continue;
        }
        const bench::Caller timed = [&](const std::string& method, const json& params) {
            if (Clock::now() >= end)
                throw TimeUp{};
            const auto before = Clock::now();
            json packet = session->call(method, params);
            outcome.latencyMs.push_back(
                std::chrono::duration<double, std::milli>(Clock::now() - before).count());
            return packet;
        };
        try {
            while (true) {
                try {
                    bench::analyse(timed, plan.analysis);
                } catch (const bench::SessionLost&) {
                    throw;
                } catch (const std::exception& error) {
                    outcome.addError(error.what()); // an error answer: the session goes on
                }
            }
        } catch (const TimeUp&) {
        } catch (const bench::SessionLost& error) {
            lost(error);
            session->abandon();
        }
    }
    outcome.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return outcome;
}

} // namespace crowd
