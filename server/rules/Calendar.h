#pragma once

#include "protocol/DateTime.h"

#include <optional>
#include <string>
#include <string_view>

namespace server {

// Whole days since 1899-12-30, the date part of the wire's date-time. Menus have no time of day, so
// the engine works on whole days and leaves fractions to the wire.
using Day = int;

Day toDay(proto::DateTime value);
proto::DateTime toDateTime(Day day);
// YYYY-MM-DD, the database's form.
std::string isoDate(Day day);
std::optional<Day> parseIsoDate(std::string_view text);
// Every day the server reads or writes lies in years 0001 to 9999 (the four digits of the wire and
// the database).
Day firstCalendarDay();
Day lastCalendarDay();
inline bool withinCalendar(Day day) {
    return day >= firstCalendarDay() && day <= lastCalendarDay();
}
// 0 Monday ... 6 Sunday.
int weekdayOf(Day day);

struct DaySpan {
    Day first = 0;
    Day last = 0;
    bool contains(Day day) const { return day >= first && day <= last; }
    int length() const { return last - first + 1; }
};

// The calendar month that holds the day.
DaySpan monthOf(Day day);
// From the Monday on or before span.first to the Sunday on or after span.last.
DaySpan weekSpanAround(DaySpan span);
// Week k (from 1) of a span; nothing when the week starts after the span ends or k < 1. The last
// week is cut at the span's end so that it counts what the weekly summary counted.
std::optional<DaySpan> weekOf(DaySpan span, int week);
// 1 for the span's first seven days, 2 for the next seven, ...
int weekNumber(DaySpan span, Day day);

} // namespace server
