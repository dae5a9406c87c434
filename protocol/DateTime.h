#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace proto {

// A date-time as the screen holds it: whole days since 30 December 1899, the fraction for the time
// of day. 0 is a real date (1899-12-30) and travels as such, never as null.
struct DateTime {
    double days = 0;
    friend bool operator==(const DateTime&, const DateTime&) = default;
};

struct CivilDateTime {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0;
    friend bool operator==(const CivilDateTime&, const CivilDateTime&) = default;
};

bool isValidCivilDate(int year, int month, int day);
int daysInMonth(int year, int month);

// Throws ProtocolError for a date that does not exist.
DateTime fromCivil(const CivilDateTime& civil);
// The time of day is rounded to the nearest second.
CivilDateTime toCivil(DateTime value);

// 0 Monday ... 6 Sunday.
int weekdayMondayFirst(DateTime value);

std::string formatDate(DateTime value);     // YYYY-MM-DD
std::string formatDateTime(DateTime value); // YYYY-MM-DDTHH:MM:SS

// Accepts YYYY-MM-DD and YYYY-MM-DDTHH:MM:SS; nothing for any other text or a date that does not
// exist.
std::optional<DateTime> parseDateTime(std::string_view text);

} // namespace proto
