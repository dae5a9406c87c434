#include "server/rules/Calendar.h"

#include <algorithm>
#include <cmath>

namespace server {

Day toDay(proto::DateTime value) {
    return static_cast<Day>(std::floor(value.days));
}

proto::DateTime toDateTime(Day day) {
    return proto::DateTime{static_cast<double>(day)};
}

std::string isoDate(Day day) {
    return proto::formatDate(toDateTime(day));
}

std::optional<Day> parseIsoDate(std::string_view text) {
    if (text.size() != 10)
        return std::nullopt;
    const auto parsed = proto::parseDateTime(text);
    if (!parsed)
        return std::nullopt;
    return toDay(*parsed);
}

Day firstCalendarDay() {
    static const Day first = *parseIsoDate("0001-01-01");
    return first;
}

Day lastCalendarDay() {
    static const Day last = *parseIsoDate("9999-12-31");
    return last;
}

int weekdayOf(Day day) {
    return proto::weekdayMondayFirst(toDateTime(day));
}

DaySpan monthOf(Day day) {
    const proto::CivilDateTime civil = proto::toCivil(toDateTime(day));
    const Day first = day - (civil.day - 1);
    return {first, first + proto::daysInMonth(civil.year, civil.month) - 1};
}

DaySpan weekSpanAround(DaySpan span) {
    return {span.first - weekdayOf(span.first), span.last + (6 - weekdayOf(span.last))};
}

std::optional<DaySpan> weekOf(DaySpan span, int week) {
    if (week < 1)
        return std::nullopt;
    const Day first = span.first + 7 * (week - 1);
    if (first > span.last)
        return std::nullopt;
    return DaySpan{first, std::min(first + 6, span.last)};
}

int weekNumber(DaySpan span, Day day) {
    return (day - span.first) / 7 + 1;
}

} // namespace server
