#include "reasons/DayTexts.h"

#include "host/format/Formatting.h"
#include "protocol/DateTime.h"

#include <gtest/gtest.h>

#include <QLocale>

#include <thread>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

const double kFirstOfMarch = proto::fromCivil({2026, 3, 1}).days;

// What the host's formatter says, for every format the sentences and the check use.
void expectSameAsHost(double day, const QLocale& locale) {
    for (const QString& format : {u"dd"_s, u"dd/mm"_s, u"dd/mm/yyyy"_s, u"ddd"_s})
        EXPECT_EQ(reasons::formatDay(format, day, locale), host::FormatDateTime(format, day, locale))
            << format.toStdString() << " " << day;
}

TEST(DayTexts, AnswersWhatTheHostFormatsAgainAndAgain) {
    const QLocale brazil(QLocale::Portuguese, QLocale::Brazil);
    for (int round = 0; round < 3; ++round)
        for (int day = -3; day < 35; ++day)
            expectSameAsHost(kFirstOfMarch + day, brazil);
    // A time of day is a different value: its text is its own, not its day's remembered one.
    expectSameAsHost(kFirstOfMarch + 0.75, brazil);
}

TEST(DayTexts, ForgetsTheTextsOfAnotherLocale) {
    const QLocale brazil(QLocale::Portuguese, QLocale::Brazil);
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const QString inPortuguese = reasons::formatDay(u"ddd"_s, kFirstOfMarch, brazil);
    const QString inEnglish = reasons::formatDay(u"ddd"_s, kFirstOfMarch, us);
    EXPECT_NE(inPortuguese, inEnglish);
    EXPECT_EQ(inEnglish, host::FormatDateTime(u"ddd"_s, kFirstOfMarch, us));
    EXPECT_EQ(reasons::formatDay(u"ddd"_s, kFirstOfMarch, brazil), inPortuguese);
}

TEST(DayTexts, StaysRightPastWhatItRemembers) {
    const QLocale brazil(QLocale::Portuguese, QLocale::Brazil);
    for (int day = 0; day < 3000; day += 1)
        EXPECT_EQ(reasons::formatDay(u"dd/mm/yyyy"_s, kFirstOfMarch + day, brazil),
                  host::FormatDateTime(u"dd/mm/yyyy"_s, kFirstOfMarch + day, brazil));
    expectSameAsHost(kFirstOfMarch, brazil);
}

TEST(DayTexts, EachThreadAnswersTheSame) {
    const QLocale brazil(QLocale::Portuguese, QLocale::Brazil);
    std::vector<QString> expected;
    for (int day = 0; day < 40; ++day)
        expected.push_back(host::FormatDateTime(u"dd/mm"_s, kFirstOfMarch + day, brazil));
    std::vector<std::vector<QString>> seen(2);
    {
        std::vector<std::jthread> threads;
        for (auto& texts : seen)
            threads.emplace_back([&texts, &brazil] {
                for (int round = 0; round < 5; ++round)
                    for (int day = 0; day < 40; ++day)
                        texts.push_back(reasons::formatDay(u"dd/mm"_s, kFirstOfMarch + day, brazil));
            });
    }
    for (const auto& texts : seen)
        for (std::size_t i = 0; i < texts.size(); ++i)
            EXPECT_EQ(texts[i], expected[i % expected.size()]);
}

} // namespace
