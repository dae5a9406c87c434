#pragma once

#include "server/rules/Calendar.h"

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <vector>

namespace server {

enum class ParamKind {
    Text,  // a string of at most `size` characters
    Date,  // YYYY-MM-DD or YYYY-MM-DDTHH:MM:SS, a real calendar date
    Limit, // a finite number or null (no bound)
    Week,  // NRSEMANA: one or two digits
};

struct ParamRule {
    const char* name;
    ParamKind kind;
    int size = 0;
};

// A span parameter pair: first day not after last, at most kMaxSpanDays counting both ends.
struct SpanSpec {
    std::size_t first, last;
};
inline constexpr int kMaxSpanDays = 62;

// The positional parameters of one call, checked whole before any query runs. Refusals throw
// CallError (invalid params) with a Portuguese message naming the method and the parameter.
class Arguments {
public:
    Arguments(const std::string& method, const std::vector<ParamRule>& rules,
              const std::optional<SpanSpec>& span, const nlohmann::json& params);

    const std::string& text(std::size_t index) const { return texts_[index]; }
    Day day(std::size_t index) const { return days_[index]; }
    std::optional<double> limit(std::size_t index) const { return limits_[index]; }
    int week(std::size_t index) const { return weeks_[index]; }
    DaySpan span(std::size_t first, std::size_t last) const { return {days_[first], days_[last]}; }

private:
    std::vector<std::string> texts_;
    std::vector<Day> days_;
    std::vector<std::optional<double>> limits_;
    std::vector<int> weeks_;
};

} // namespace server
