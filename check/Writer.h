#pragma once

#include "check/CheckOptions.h"
#include "check/Model.h"

#include <QLocale>

#include <memory>
#include <optional>
#include <ostream>
#include <vector>

namespace check {

// One output format. Services arrive in output order and are written as they come, so that only
// small records stay in memory; what comes after them (contradictions, the comparison) at the end.
class Writer {
public:
    virtual ~Writer() = default;
    // The result is the writer's: what it holds moves into the output instead of being copied.
    void add(ServiceResult&& result);
    // The comparison with a baseline, when there is one.
    virtual void finish(const std::optional<Json>& compare) = 0;

protected:
    virtual void writeService(ServiceResult&& result) = 0;

    struct Located {
        std::string branch, service;
        Finding finding;
    };
    std::vector<Located> contradictions_;
};

struct WriterSettings {
    Month month;
    QLocale locale;
    bool colours = false; // text only: the output is a terminal
};

std::unique_ptr<Writer> makeWriter(Format format, std::ostream& out, const WriterSettings& settings);

// A service as the JSON output holds it; its rows move into it.
Json serviceJson(ServiceResult&& result);

} // namespace check
