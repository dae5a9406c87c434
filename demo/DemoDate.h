#pragma once

#include <string>

namespace demo {

// Calendar days counted from 1970-01-01, enough for the demo's year and its neighbours.
int daysFromIso(const std::string& iso);
std::string isoFromDays(int days);
// 0 is Monday, 6 is Sunday.
int weekdayOf(int days);

} // namespace demo
