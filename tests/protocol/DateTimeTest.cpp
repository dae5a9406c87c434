#include "protocol/DateTime.h"
#include "protocol/ProtocolError.h"

#include <gtest/gtest.h>

using namespace proto;

struct DateCase {
    const char* text;
    double days;
};

class DateRoundTrip : public testing::TestWithParam<DateCase> {};

TEST_P(DateRoundTrip, ParsesAndFormatsTheSameDay) {
    const auto parsed = parseDateTime(GetParam().text);
    ASSERT_TRUE(parsed.has_value());
    EXPECT_DOUBLE_EQ(parsed->days, GetParam().days);
    EXPECT_EQ(formatDate(*parsed), std::string(GetParam().text).substr(0, 10));
}

INSTANTIATE_TEST_SUITE_P(Calendar, DateRoundTrip,
                         testing::Values(DateCase{"1899-12-30", 0}, DateCase{"1899-12-29", -1},
                                         DateCase{"1900-03-01", 61}, DateCase{"2000-02-29", 36585},
                                         DateCase{"2004-03-02", 38048}, DateCase{"2026-03-01", 46082},
                                         DateCase{"2026-03-01T12:00:00", 46082.5}));

TEST(DateTime, RejectsTextThatIsNotARealDate) {
    for (const char* bad : {"2026-02-29", "2026-13-01", "2026-00-10", "2026-04-31", "2026-4-01", "20260401",
                            "2026-03-01 10:00:00", "2026-03-01T24:00:00", "2026-03-01T10:60:00", "",
                            "abcd-ef-gh", "2026-03-01T10:00:00Z"})
        EXPECT_FALSE(parseDateTime(bad).has_value()) << bad;
}

TEST(DateTime, TimeOfDayRoundsToTheSecondWithoutReachingSixty) {
    // Half a second before midnight rounds into the next day, never to 23:59:60.
    const DateTime nearlyMidnight{46082.0 + (86400.0 - 0.4) / 86400.0};
    EXPECT_EQ(formatDateTime(nearlyMidnight), "2026-03-02T00:00:00");
    EXPECT_EQ(formatDateTime(DateTime{46082.0 + 0.75}), "2026-03-01T18:00:00");
}

TEST(DateTime, WeekdayCountsFromMonday) {
    EXPECT_EQ(weekdayMondayFirst(*parseDateTime("2026-03-02")), 0); // Monday
    EXPECT_EQ(weekdayMondayFirst(*parseDateTime("2026-03-01")), 6); // Sunday
    EXPECT_EQ(weekdayMondayFirst(DateTime{0}), 5);                  // 1899-12-30, a Saturday
    EXPECT_EQ(weekdayMondayFirst(DateTime{-1}), 4);
}

TEST(DateTime, FromCivilRefusesImpossibleDates) {
    EXPECT_THROW(fromCivil({2025, 2, 29}), ProtocolError);
    EXPECT_NO_THROW(fromCivil({2024, 2, 29}));
    EXPECT_EQ(daysInMonth(1900, 2), 28);
    EXPECT_EQ(daysInMonth(2000, 2), 29);
}
