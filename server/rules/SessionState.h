#pragma once

#include "server/rules/Calendar.h"

#include <optional>

namespace server {

// What a session remembers between calls: the weekly details read NRSEMANA against the last week
// span, and GetFreqPratSemDet hands back the month of the last GetDataSemana.
struct SessionState {
    std::optional<DaySpan> weekSpan;
    std::optional<Day> month; // P of the last GetDataSemana
};

} // namespace server
