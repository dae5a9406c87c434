#pragma once

#include "check/Model.h"

#include <map>
#include <set>
#include <string>

namespace check {

// An earlier JSON output of the same month: what was infringed then, to tell each current
// infringement new or still, and to list what is fixed.
class Baseline {
public:
    // Reads the file through the one door for foreign JSON, bounded in size. Refuses
    // (std::invalid_argument in Portuguese) a file that cannot be read, is too large, is no output
    // of this tool, or is of another month.
    static Baseline load(const std::string& path, const std::string& month);
    // From a parsed output, for the same checks.
    static Baseline fromJson(const nlohmann::json& output, const std::string& month);

    // Marks every infringement of a judged service "new" or "still" and remembers it as seen.
    void mark(ServiceResult& result);
    // {"new", "still", "fixed", "fixed_rows"}: what was infringed in the baseline for a service
    // judged now (clear or blocked) and is no more. A service not judged now fixes nothing.
    Json compare() const;

private:
    struct Entry {
        std::string branch, service, category;
        Json row;
    };
    std::map<std::string, Entry> earlier_; // by identity
    std::set<std::string> seen_;
    std::set<std::string> judgedServices_;
    std::size_t new_ = 0, still_ = 0;
};

inline constexpr std::size_t kMaxBaselineBytes = 64u * 1024 * 1024;

} // namespace check
