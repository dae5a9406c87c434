#include "host/format/Formatting.h"

#include "protocol/DateTime.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QLocale>

#include <cmath>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

double day(int y, int m, int d, int hh = 0, int mm = 0, int ss = 0) {
    return proto::fromCivil({y, m, d, hh, mm, ss}).days;
}

const QLocale kBrazil(QLocale::Portuguese, QLocale::Brazil);
const QLocale kC = QLocale::c();

struct MaskCase {
    const char* mask;
    const char* value;
    const char* expected;
};

class FormatMaskTextTest : public ::testing::TestWithParam<MaskCase> {};

TEST_P(FormatMaskTextTest, LaysTheValueOut) {
    EXPECT_EQ(host::FormatMaskText(QString::fromUtf8(GetParam().mask), QString::fromUtf8(GetParam().value)),
              QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Masks, FormatMaskTextTest,
                         ::testing::Values(
                             // Upper case and blanks for what the value does not fill.
                             MaskCase{">aaaa;0; ", "ab1", "AB1 "}, MaskCase{">aaaa;0; ", "", "    "},
                             MaskCase{">aaaa;0;_", "x", "X___"},
                             // Literals inserted when the value does not carry them.
                             MaskCase{">aaaa.aaa.aaa;0; ", "0101001abc", "0101.001.ABC"},
                             MaskCase{">aaaa.aaa.aaa;0; ", "01", "01  .   .   "},
                             MaskCase{">aa.aaaa.aaaa;0; ", "ab12345678", "AB.1234.5678"},
                             // A value that keeps its literals is not shifted by them.
                             MaskCase{"999.999;1; ", "123.456", "123.456"},
                             MaskCase{"999.999;1; ", "123456", "123.456"},
                             // Lower case, stop converting, escaped literal, letters and digits.
                             MaskCase{"<LL>LL;0; ", "AbCd", "abCD"}, MaskCase{">ll<>ll;0; ", "abcd", "ABcd"},
                             MaskCase{"\\A-999;0; ", "12", "A-12 "}, MaskCase{"\\;99;0; ", "7", ";7 "},
                             // Excess characters are dropped; no section means literals are kept.
                             MaskCase{"aa;0; ", "abcdef", "ab"}, MaskCase{"(99)", "(12)", "(12)"},
                             // Accented letters are upper-cased like any other.
                             MaskCase{">llll;0; ", "ação", "AÇÃO"}));

struct FloatCase {
    const char* format;
    double value;
    const char* brazil;
    const char* c;
};

class FormatFloatTest : public ::testing::TestWithParam<FloatCase> {};

TEST_P(FormatFloatTest, InBothLocales) {
    const auto& p = GetParam();
    EXPECT_EQ(host::FormatFloat(QString::fromUtf8(p.format), p.value, kBrazil), QString::fromUtf8(p.brazil));
    EXPECT_EQ(host::FormatFloat(QString::fromUtf8(p.format), p.value, kC), QString::fromUtf8(p.c));
}

INSTANTIATE_TEST_SUITE_P(
    Formats, FormatFloatTest,
    ::testing::Values(FloatCase{"#,##0.00000", 0, "0,00000", "0.00000"},
                      FloatCase{"#,##0.00000", 1.5, "1,50000", "1.50000"},
                      FloatCase{"#,##0.00000", 1234567.123456, "1.234.567,12346", "1,234,567.12346"},
                      FloatCase{"#,##0.00000", -1234.5, "-1.234,50000", "-1,234.50000"},
                      FloatCase{"#,##0.00000", 999.999999, "1.000,00000", "1,000.00000"},
                      // A value that rounds to zero shows no sign.
                      FloatCase{"#,##0.00000", -0.000001, "0,00000", "0.00000"},
                      FloatCase{"0.00", 1234.5, "1234,50", "1234.50"},
                      FloatCase{"#,##0.0#", 2.5, "2,5", "2.5"}, FloatCase{"#,##0.0#", 2.126, "2,13", "2.13"},
                      FloatCase{"#,##0", 1234.6, "1.235", "1,235"}));

struct GeneralCase {
    double value;
    const char* brazil;
    const char* c;
};

class FormatFloatGeneralTest : public ::testing::TestWithParam<GeneralCase> {};

TEST_P(FormatFloatGeneralTest, FifteenSignificantDigitsWithoutTrailingZeros) {
    EXPECT_EQ(host::FormatFloatGeneral(GetParam().value, kBrazil), QString::fromUtf8(GetParam().brazil));
    EXPECT_EQ(host::FormatFloatGeneral(GetParam().value, kC), QString::fromUtf8(GetParam().c));
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, FormatFloatGeneralTest,
    ::testing::Values(GeneralCase{0, "0", "0"}, GeneralCase{-0.0, "0", "0"}, GeneralCase{3, "3", "3"},
                      GeneralCase{2.5, "2,5", "2.5"}, GeneralCase{0.1, "0,1", "0.1"},
                      GeneralCase{1234567, "1234567", "1234567"}, GeneralCase{-12.75, "-12,75", "-12.75"},
                      GeneralCase{1.0 / 3, "0,333333333333333", "0.333333333333333"},
                      // Fifteen digits hide the binary rounding of a sum.
                      GeneralCase{0.1 + 0.2, "0,3", "0.3"}, GeneralCase{1498.8 - 822, "676,8", "676.8"},
                      // Fixed notation from exponent -4 to 14, then mantissa, "E", sign, two digits.
                      GeneralCase{1000000, "1000000", "1000000"}, GeneralCase{0.0001, "0,0001", "0.0001"},
                      GeneralCase{0.00001234, "1,234E-05", "1.234E-05"},
                      GeneralCase{123456789012345, "123456789012345", "123456789012345"},
                      GeneralCase{1e15, "1E+15", "1E+15"}, GeneralCase{-2.5e-300, "-2,5E-300", "-2.5E-300"},
                      GeneralCase{1e21, "1E+21", "1E+21"}));

TEST(FloatTextLossless, ReadsBackAsTheSameDouble) {
    for (const QLocale& locale : {kBrazil, kC})
        for (const double value : {0.1 + 0.2, 1e-7, 123456.789, 2.0 / 3, 1e21, 1234567.0}) {
            const QString text = host::FloatTextLossless(value, locale);
            EXPECT_EQ(host::ParseNumber(text, locale), value) << text.toStdString();
        }
}

struct ParseCase {
    const char* text;
    std::optional<double> brazil;
    std::optional<double> c;
};

class ParseNumberTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseNumberTest, ByTheLocaleThatShowsIt) {
    EXPECT_EQ(host::ParseNumber(QString::fromUtf8(GetParam().text), kBrazil), GetParam().brazil);
    EXPECT_EQ(host::ParseNumber(QString::fromUtf8(GetParam().text), kC), GetParam().c);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseNumberTest,
    ::testing::Values(ParseCase{"1,5", 1.5, std::nullopt}, ParseCase{"1.5", std::nullopt, 1.5},
                      ParseCase{" 42 ", 42, 42}, ParseCase{"-0,25", -0.25, std::nullopt},
                      // Group separators are refused, never read either way.
                      ParseCase{"1.500", std::nullopt, 1.5}, ParseCase{"1.500,5", std::nullopt, std::nullopt},
                      ParseCase{"1,500.5", std::nullopt, std::nullopt}, ParseCase{"1E+15", 1e15, 1e15},
                      ParseCase{"", std::nullopt, std::nullopt},
                      ParseCase{"abc", std::nullopt, std::nullopt}));

struct DateCase {
    double days;
    const char* brazilDay;
    const char* cDay;
    const char* brazilText;
};

class DateTextTest : public ::testing::TestWithParam<DateCase> {};

TEST_P(DateTextTest, WeekdayAndShortDate) {
    const auto& p = GetParam();
    EXPECT_EQ(host::ShortDayName(p.days, kBrazil), QString::fromUtf8(p.brazilDay));
    EXPECT_EQ(host::ShortDayName(p.days, kC), QString::fromUtf8(p.cDay));
    EXPECT_EQ(host::FormatDateTime(u"ddd"_s, p.days, kBrazil), QString::fromUtf8(p.brazilDay));
    EXPECT_EQ(host::DateTimeText(p.days, kBrazil), QString::fromUtf8(p.brazilText));
}

INSTANTIATE_TEST_SUITE_P(Days, DateTextTest,
                         ::testing::Values(DateCase{day(2004, 3, 2), "ter", "Tue", "02/03/2004"},
                                           DateCase{day(2026, 3, 1), "dom", "Sun", "01/03/2026"},
                                           DateCase{day(2026, 3, 7), "sáb", "Sat", "07/03/2026"},
                                           // The time only when it is not midnight.
                                           DateCase{day(2004, 3, 2, 14, 30, 5), "ter", "Tue",
                                                    "02/03/2004 14:30:05"},
                                           DateCase{day(1899, 12, 30), "sáb", "Sat", "30/12/1899"}));

TEST(ShortDate, FollowsTheLocale) {
    const double d = day(2004, 3, 2);
    EXPECT_EQ(host::ShortDateText(d, kBrazil), u"02/03/2004"_s);
    EXPECT_EQ(host::ShortDateText(d, kC), kC.toString(QDate(2004, 3, 2), QLocale::ShortFormat));
    EXPECT_NE(host::ShortDateText(d, QLocale(QLocale::English, QLocale::UnitedStates)), u"02/03/2004"_s);
}

TEST(FormatDateTime, Tokens) {
    const double d = day(2026, 3, 9, 8, 5, 7);
    EXPECT_EQ(host::FormatDateTime(u"dd/mm/yyyy hh:nn:ss"_s, d, kBrazil), u"09/03/2026 08:05:07"_s);
    EXPECT_EQ(host::FormatDateTime(u"d/m/yy"_s, d, kBrazil), u"9/3/26"_s);
    EXPECT_EQ(host::FormatDateTime(u"dddd"_s, d, kBrazil), u"segunda-feira"_s);
    EXPECT_EQ(host::FormatDateTime(u"ddddd"_s, d, kBrazil), u"09/03/2026"_s);
    EXPECT_EQ(host::FormatDateTime(u"'dia' d"_s, d, kBrazil), u"dia 9"_s);
}

} // namespace
