#pragma once

#include "check/Model.h"

#include <functional>
#include <memory>
#include <vector>

namespace check {

// What one job holds for its life (its session or connection) and judges target after target.
class Worker {
public:
    virtual ~Worker() = default;
    virtual ServiceResult judge(const Target& target) = 0;
};

// Makes a job's worker on that job's thread; a failure (no connection, refused session) makes every
// target the job takes an error with its message.
using WorkerFactory = std::function<std::unique_ptr<Worker>()>;

// Services done of the total so far, after each one delivered.
using ProgressReport = std::function<void(std::size_t done, std::size_t total)>;

// Judges the targets with `jobs` workers at once and hands each result to `deliver` on the calling
// thread, in target order whatever order they finish in; a result is dropped once delivered.
void runAll(const std::vector<Target>& targets, int jobs, const WorkerFactory& makeWorker,
            const std::function<void(ServiceResult&&)>& deliver, const ProgressReport& progress = {});

// The result of a target that could not be judged.
ServiceResult errorResult(const Target& target, const std::string& reason);

} // namespace check
