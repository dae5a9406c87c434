#pragma once

#include "server/rules/Calendar.h"

#include <cstdint>
#include <optional>

namespace server {

// What a session remembers between calls: the weekly details read NRSEMANA against the last week
// span, and GetFreqPratSemDet hands back the month of the last GetDataSemana.
struct SessionState {
    std::optional<DaySpan> weekSpan;
    std::optional<Day> month; // P of the last GetDataSemana
    // Which of this process's pooled connections served the session last, so that its next call
    // finds the menu it read in that connection's cache. A hint, not state: it never leaves the
    // process and a wrong one costs a read.
    std::uint64_t connection = 0;
};

} // namespace server
