#pragma once

#include "protocol/Packet.h"

#include <nlohmann/json.hpp>

#include <climits>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace bench {

// One way to call a method: answers the packet as JSON, throws on an error answer.
using Caller = std::function<nlohmann::json(const std::string& method, const nlohmann::json& params)>;

// Each summary and how its detail takes its arguments from the first row ("#month" is the launch
// month the screen passes by reference).
struct Step {
    const char* summary;
    bool weekly;
    const char* count; // the summary's count of what infringes: its detail lists them
    const char* detail;
    std::vector<const char*> detailArgs;
};

// The eleven categories in the order the screen runs them.
const std::vector<Step>& analysisSteps();

// A detail's arguments, read by name from a row of its summary's answer (a packet as JSON);
// `monthFirst` stands for the launch month the screen passes by reference.
nlohmann::json detailParams(const Step& step, const nlohmann::json& summary, std::size_t row,
                            const std::string& monthFirst);
// The same from the summary's packet itself, for a caller that holds no JSON of it.
nlohmann::json detailParams(const Step& step, const proto::Packet& summary, std::size_t row,
                            const std::string& monthFirst);

// GetDataSemana, then each summary and the detail of its first row.
inline constexpr int kCallsPerAnalysis = 23;

// The service-month an analysis judges.
struct AnalysisTarget {
    std::string branch = "0001";
    std::string service = "001";
    std::string monthFirst = "2026-03-01";
    std::string monthLast = "2026-03-31";
    // The data is known to infringe in every category: a summary without rows is a fault, not a
    // clear menu, and so is a detail without rows for a count above zero.
    bool rowsExpected = false;
};

// Thrown when an answer that must have rows has none.
class EmptyAnswer : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One analysis of the target, as the verify button runs it, making at most `maxCalls` calls (the
// rest of the analysis is left out). Answers the number of calls made.
int analyse(const Caller& call, const AnalysisTarget& target, int maxCalls = INT_MAX);

} // namespace bench
