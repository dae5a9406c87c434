#include "check/Runner.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>

namespace check {

ServiceResult errorResult(const Target& target, const std::string& reason) {
    ServiceResult result;
    result.branch = target.branch;
    result.service = target.service;
    result.name = target.name;
    result.verdict = Verdict::Error;
    result.reason = reason;
    return result;
}

namespace {

struct Slots {
    std::mutex mutex;
    std::condition_variable ready;
    std::vector<std::optional<ServiceResult>> results;
};

void work(const std::vector<Target>& targets, std::atomic<std::size_t>& next, Slots& slots,
          const WorkerFactory& makeWorker) {
    std::unique_ptr<Worker> worker;
    std::string failure;
    try {
        worker = makeWorker();
    } catch (const std::exception& error) {
        failure = error.what();
    }
    for (std::size_t index = next++; index < targets.size(); index = next++) {
        ServiceResult result;
        if (!worker) {
            result = errorResult(targets[index], failure);
        } else {
            try {
                result = worker->judge(targets[index]);
            } catch (const std::exception& error) {
                result = errorResult(targets[index], error.what());
            }
        }
        {
            const std::lock_guard lock(slots.mutex);
            slots.results[index] = std::move(result);
        }
        slots.ready.notify_all();
    }
}

} // namespace

void runAll(const std::vector<Target>& targets, int jobs, const WorkerFactory& makeWorker,
            const std::function<void(ServiceResult&&)>& deliver, const ProgressReport& progress) {
    Slots slots;
    slots.results.resize(targets.size());
    std::atomic<std::size_t> next{0};
    const std::size_t threads = std::clamp<std::size_t>(static_cast<std::size_t>(std::max(jobs, 1)), 1,
                                                        std::max<std::size_t>(targets.size(), 1));
    std::vector<std::jthread> workers;
    for (std::size_t i = 0; i < threads; ++i)
        workers.emplace_back([&] { work(targets, next, slots, makeWorker); });
    for (std::size_t index = 0; index < targets.size(); ++index) {
        ServiceResult result;
        {
            std::unique_lock lock(slots.mutex);
            slots.ready.wait(lock, [&] { return slots.results[index].has_value(); });
            result = std::move(*slots.results[index]);
            slots.results[index].reset();
        }
        deliver(std::move(result));
        if (progress)
            progress(index + 1, targets.size());
    }
}

} // namespace check
