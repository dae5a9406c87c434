#include "protocol/DateTime.h"

#include "protocol/ProtocolError.h"

#include <cmath>
#include <cstdio>

namespace proto {
namespace {

// Days from 1970-01-01 to a civil date, proleptic Gregorian (H. Hinnant's algorithm).
long long daysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

void civilFromDays(long long z, int& year, int& month, int& day) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long y = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(y + (month <= 2));
}

// 1899-12-30 counted from 1970-01-01.
const long long kEpochOffset = daysFromCivil(1899, 12, 30);

bool parseDigits(std::string_view text, std::size_t from, std::size_t count, int& out) {
    out = 0;
    for (std::size_t i = from; i < from + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        out = out * 10 + (text[i] - '0');
    }
    return true;
}

void putDigits(char* at, int value, int count) {
    for (int i = count - 1; i >= 0; --i) {
        at[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
}

} // namespace

int daysInMonth(int year, int month) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

bool isValidCivilDate(int year, int month, int day) {
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= daysInMonth(year, month);
}

DateTime fromCivil(const CivilDateTime& c) {
    if (!isValidCivilDate(c.year, c.month, c.day) || c.hour < 0 || c.hour > 23 || c.minute < 0 ||
        c.minute > 59 || c.second < 0 || c.second > 59) {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", c.year, c.month, c.day, c.hour,
                      c.minute, c.second);
        throw ProtocolError(std::string("Data inválida: ") + buffer + ".");
    }
    const double whole = static_cast<double>(daysFromCivil(c.year, c.month, c.day) - kEpochOffset);
    return DateTime{whole + (c.hour * 3600 + c.minute * 60 + c.second) / 86400.0};
}

CivilDateTime toCivil(DateTime value) {
    // Round to the second first, so 23:59:59.7 becomes the next day and not 23:59:60.
    const double totalSeconds = std::round(value.days * 86400.0);
    const double wholeDays = std::floor(totalSeconds / 86400.0);
    const long long secondsOfDay = static_cast<long long>(totalSeconds - wholeDays * 86400.0);
    CivilDateTime c;
    civilFromDays(static_cast<long long>(wholeDays) + kEpochOffset, c.year, c.month, c.day);
    c.hour = static_cast<int>(secondsOfDay / 3600);
    c.minute = static_cast<int>(secondsOfDay / 60 % 60);
    c.second = static_cast<int>(secondsOfDay % 60);
    return c;
}

int weekdayMondayFirst(DateTime value) {
    // 1899-12-30 was a Saturday (5 counting from Monday).
    const long long day = static_cast<long long>(std::floor(value.days));
    return static_cast<int>(((day + 5) % 7 + 7) % 7);
}

std::string formatDate(DateTime value) {
    const CivilDateTime c = toCivil(value);
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", c.year, c.month, c.day);
    return buffer;
}

std::string formatDateTime(DateTime value) {
    const CivilDateTime c = toCivil(value);
    if (c.year >= 0 && c.year <= 9999) {
        // Every date cell of every answer passes here; formatting by hand spares a printf each.
        char text[19] = {0, 0, 0, 0, '-', 0, 0, '-', 0, 0, 'T', 0, 0, ':', 0, 0, ':', 0, 0};
        putDigits(text, c.year, 4);
        putDigits(text + 5, c.month, 2);
        putDigits(text + 8, c.day, 2);
        putDigits(text + 11, c.hour, 2);
        putDigits(text + 14, c.minute, 2);
        putDigits(text + 17, c.second, 2);
        return std::string(text, sizeof text);
    }
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT%02d:%02d:%02d", c.year, c.month, c.day, c.hour,
                  c.minute, c.second);
    return buffer;
}

std::optional<DateTime> parseDateTime(std::string_view text) {
    if (text.size() != 10 && text.size() != 19)
        return std::nullopt;
    CivilDateTime c;
    if (!parseDigits(text, 0, 4, c.year) || text[4] != '-' || !parseDigits(text, 5, 2, c.month) ||
        text[7] != '-' || !parseDigits(text, 8, 2, c.day))
        return std::nullopt;
    if (text.size() == 19) {
        if (text[10] != 'T' || !parseDigits(text, 11, 2, c.hour) || text[13] != ':' ||
            !parseDigits(text, 14, 2, c.minute) || text[16] != ':' || !parseDigits(text, 17, 2, c.second))
            return std::nullopt;
    }
    if (!isValidCivilDate(c.year, c.month, c.day) || c.hour > 23 || c.minute > 59 || c.second > 59)
        return std::nullopt;
    return fromCivil(c);
}

} // namespace proto
