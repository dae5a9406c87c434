#include "DemoDate.h"
#include "Prng.h"

#include <gtest/gtest.h>

namespace {

struct DateCase {
    const char* iso;
    int days;
    int weekday; // 0 Monday
};

class DemoDate : public testing::TestWithParam<DateCase> {};

TEST_P(DemoDate, ConvertsBothWaysAndNamesTheWeekday) {
    const auto& c = GetParam();
    EXPECT_EQ(demo::daysFromIso(c.iso), c.days);
    EXPECT_EQ(demo::isoFromDays(c.days), c.iso);
    EXPECT_EQ(demo::weekdayOf(c.days), c.weekday);
}

INSTANTIATE_TEST_SUITE_P(Calendar, DemoDate,
                         testing::Values(DateCase{"1970-01-01", 0, 3}, DateCase{"2000-02-29", 11016, 1},
                                         DateCase{"2025-12-29", 20451, 0}, DateCase{"2026-01-01", 20454, 3},
                                         DateCase{"2026-02-23", 20507, 0}, DateCase{"2026-02-28", 20512, 5},
                                         DateCase{"2026-03-01", 20513, 6}, DateCase{"2026-03-31", 20543, 1},
                                         DateCase{"2026-04-05", 20548, 6}, DateCase{"2026-12-31", 20818, 3},
                                         DateCase{"1969-12-31", -1, 2}));

TEST(DemoDateTest, RefusesText) {
    EXPECT_THROW(demo::daysFromIso("março"), std::invalid_argument);
}

// The demo's content hangs on this sequence; any change to the generator's arithmetic shows here
// before it silently changes every database.
TEST(DemoPrngTest, FollowsTheReferenceSequence) {
    demo::Prng prng(0);
    EXPECT_EQ(prng.next(), 0xE220A8397B1DCDAFULL);
    EXPECT_EQ(prng.next(), 0x6E789E6AA1B965F4ULL);
    EXPECT_EQ(prng.next(), 0x06C45D188009454FULL);
}

TEST(DemoPrngTest, BelowStaysInRange) {
    demo::Prng prng(42);
    for (int bound : {1, 2, 7, 100})
        for (int i = 0; i < 1000; ++i) {
            const int v = prng.below(bound);
            ASSERT_GE(v, 0);
            ASSERT_LT(v, bound);
        }
    EXPECT_EQ(prng.below(0), 0);
}

} // namespace
