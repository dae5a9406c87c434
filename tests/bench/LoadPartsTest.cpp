#include "LoadOptions.h"
#include "LoadReport.h"
#include "ServerMemory.h"
#include "Statistics.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <unistd.h>

using load::Engine;
using load::LoadOptions;
using load::parseLoadOptions;

namespace {

struct BadLine {
    std::vector<std::string> args;
    std::string named; // the message names the offending option or value
};

class LoadOptionsRefusal : public testing::TestWithParam<BadLine> {};

TEST_P(LoadOptionsRefusal, RefusesWithAPortugueseMessageNamingWhatIsWrong) {
    try {
        parseLoadOptions(GetParam().args);
        FAIL() << "accepted";
    } catch (const std::invalid_argument& error) {
        EXPECT_NE(std::string(error.what()).find(GetParam().named), std::string::npos) << error.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    BadCommandLines, LoadOptionsRefusal,
    testing::Values(
        BadLine{{"--sessions", "0"}, "--sessions"}, BadLine{{"--sessions", "1,,8"}, "--sessions"},
        BadLine{{"--sessions", "8,"}, "8,"}, BadLine{{"--sessions", "1001"}, "1001"},
        BadLine{{"--calls", "5x"}, "5x"}, BadLine{{"--calls"}, "falta o valor"},
        BadLine{{"--rounds", "-1"}, "--rounds"}, BadLine{{"--engine", "oracle"}, "oracle"},
        BadLine{{"--abandon"}, "--rounds"}, BadLine{{"--database", ""}, "--database"},
        BadLine{{"--engine", "sqlite", "--database", "postgresql://127.0.0.1:5432/x"}, "contradiz"},
        BadLine{{"--sessoes", "8"}, "--sessoes"}, BadLine{{"--abandon=1", "--rounds", "2"}, "abandon"},
        BadLine{{"--target", "[::1]"}, "--target: '[::1]': falta a porta"},
        BadLine{{"--target", "127.0.0.1:1", "--engine", "sqlite"}, "--target"},
        BadLine{{"--target", "127.0.0.1:1", "--sessions", "postgresql://h/s"}, "--sessions URL"}));

TEST(LoadOptions, ASessionsUrlNamesWhereTheServerKeepsThemAndLeavesTheCountsAlone) {
    const LoadOptions options =
        parseLoadOptions({"--sessions", "2,16", "--sessions=postgresql://127.0.0.1:5433/sessoes"});
    EXPECT_EQ(options.sessions, (std::vector<int>{2, 16}));
    EXPECT_EQ(options.sessionsUrl, "postgresql://127.0.0.1:5433/sessoes");
    EXPECT_EQ(options.engine, Engine::Sqlite); // the suite's database is another matter
    EXPECT_FALSE(parseLoadOptions({"--sessions", "8"}).sessionsUrl);
}

TEST(LoadOptions, ATargetTakesIPv6InBracketsAndStartsNothing) {
    const LoadOptions options = parseLoadOptions({"--target", "[::1]:60251", "--sessions", "8"});
    ASSERT_TRUE(options.target);
    EXPECT_EQ(options.target->host, "::1");
    EXPECT_EQ(options.target->port, 60251);
    EXPECT_FALSE(parseLoadOptions({}).target);
}

TEST(LoadOptions, DefaultsMeasureOneEightAndSixtyFourSessionsOnTheGeneratedDemo) {
    const LoadOptions options = parseLoadOptions({});
    EXPECT_EQ(options.sessions, (std::vector<int>{1, 8, 64}));
    EXPECT_EQ(options.rounds, 0);
    EXPECT_FALSE(options.abandon);
    EXPECT_TRUE(options.database.empty());
    EXPECT_EQ(options.engine, Engine::Sqlite);
}

TEST(LoadOptions, ValuesTakeTheNextArgumentOrFollowAnEqualsSign) {
    const LoadOptions options = parseLoadOptions(
        {"--sessions=2,16", "--calls", "7", "--rounds=30", "--abandon", "--database", "x.db"});
    EXPECT_EQ(options.sessions, (std::vector<int>{2, 16}));
    EXPECT_EQ(options.calls, 7);
    EXPECT_EQ(options.rounds, 30);
    EXPECT_TRUE(options.abandon);
    EXPECT_EQ(options.database, "x.db");
}

TEST(LoadOptions, APostgresUrlChoosesTheEngineItNames) {
    EXPECT_EQ(parseLoadOptions({"--database", "postgresql://127.0.0.1:5432/demo"}).engine,
              Engine::Postgresql);
    EXPECT_EQ(parseLoadOptions({"--database", "postgresql://h/d", "--engine", "postgresql"}).engine,
              Engine::Postgresql);
    EXPECT_EQ(parseLoadOptions({"--database", "/tmp/postgresql.db"}).engine, Engine::Sqlite);
}

TEST(LoadOptions, HelpStopsReadingAndTheTextNamesEveryOption) {
    EXPECT_TRUE(parseLoadOptions({"--help", "--calls", "nonsense"}).help);
    const std::string text = load::loadUsageText();
    EXPECT_EQ(text.rfind("uso: restcont-load", 0), 0u);
    for (const char* option :
         {"--sessions", "--calls", "--rounds", "--abandon", "--database", "--engine", "--target"})
        EXPECT_NE(text.find(option), std::string::npos) << option;
}

struct Ranked {
    std::vector<double> values;
    double percent;
    double expected;
};

class NearestRank : public testing::TestWithParam<Ranked> {};

TEST_P(NearestRank, IsAValueThatWasMeasured) {
    EXPECT_DOUBLE_EQ(bench::percentile(GetParam().values, GetParam().percent), GetParam().expected);
}

std::vector<double> oneToHundred() {
    std::vector<double> values;
    for (int i = 100; i >= 1; --i) // unsorted on purpose
        values.push_back(i);
    return values;
}

INSTANTIATE_TEST_SUITE_P(Percentiles, NearestRank,
                         testing::Values(Ranked{{}, 99, 0}, Ranked{{4.5}, 99, 4.5}, Ranked{{4.5}, 50, 4.5},
                                         Ranked{oneToHundred(), 99, 99}, Ranked{oneToHundred(), 100, 100},
                                         Ranked{oneToHundred(), 50, 50}, Ranked{oneToHundred(), 1, 1},
                                         Ranked{{3, 1, 2}, 99, 3}, Ranked{{10, 20}, 50, 10}));

TEST(Median, OfAnEvenCountIsTheMeanOfTheTwoMiddleValues) {
    EXPECT_DOUBLE_EQ(bench::median({4, 1, 3, 2}), 2.5);
    EXPECT_DOUBLE_EQ(bench::median({5, 1, 3}), 3);
    EXPECT_DOUBLE_EQ(bench::median({}), 0);
}

TEST(MostFrequent, TheCommonestErrorsComeFirstAndTheListStopsAtItsCount) {
    const std::map<std::string, long> seen{{"a", 1}, {"b", 7}, {"c", 3}, {"d", 7}};
    const auto top = bench::mostFrequent(seen, 3);
    ASSERT_EQ(top.size(), 3u);
    EXPECT_EQ(top[0], std::make_pair(std::string("b"), 7L));
    EXPECT_EQ(top[1], std::make_pair(std::string("d"), 7L));
    EXPECT_EQ(top[2], std::make_pair(std::string("c"), 3L));
    EXPECT_EQ(bench::mostFrequent(seen, 10).size(), 4u);
}

TEST(ProcessStatus, ReadsPeakAndResidentSetInKiB) {
    const auto sample = load::parseProcessStatus("Name:\trestcont-server\nVmPeak:\t  900000 kB\n"
                                                 "VmHWM:\t   24576 kB\nVmRSS:\t   20480 kB\nThreads:\t40\n");
    ASSERT_TRUE(sample);
    EXPECT_EQ(sample->peakKiB, 24576);
    EXPECT_EQ(sample->residentKiB, 20480);
}

TEST(ProcessStatus, AProcessThatEndedHasNoMemory) {
    // What /proc/<pid>/status of a zombie holds: no Vm lines at all.
    EXPECT_FALSE(load::parseProcessStatus("Name:\trestcont-server\nState:\tZ (zombie)\nThreads:\t1\n"));
    EXPECT_FALSE(load::parseProcessStatus("VmHWM:\t24576 kB\n"));
    EXPECT_FALSE(load::sampleMemory(0x7ffffff0));
}

TEST(ProcessStatus, ThisProcessHasAResidentSetNoLargerThanItsPeak) {
    const auto sample = load::sampleMemory(::getpid());
    ASSERT_TRUE(sample);
    EXPECT_GT(sample->residentKiB, 0);
    EXPECT_LE(sample->residentKiB, sample->peakKiB);
}

TEST(MemoryVerdict, ThreadsWarmingUpOverSeveralRoundsAreNotALeak) {
    // Growth over the first rounds as pool threads take their connections, then nothing.
    std::vector<long> rounds{17860, 19168, 21736, 22480};
    for (int i = 0; i < 26; ++i)
        rounds.push_back(22480 + 4 * i);
    const load::MemoryVerdict verdict = load::judgeMemory(rounds);
    EXPECT_EQ(verdict.afterWarmUp.fromRound, 2);
    EXPECT_EQ(verdict.afterWarmUp.fromKiB, 19168);
    EXPECT_EQ(verdict.afterWarmUp.toRound, 30);
    EXPECT_EQ(verdict.afterWarmUp.kib(), 22580 - 19168);
    EXPECT_EQ(verdict.steady.fromRound, 15);
    EXPECT_EQ(verdict.steady.fromKiB, 22480 + 4 * 10);
    EXPECT_DOUBLE_EQ(verdict.steady.kibPerRound(), 4);
    EXPECT_TRUE(verdict.flat);
    const std::string text = load::verdictText(verdict);
    EXPECT_NE(text.find("da rodada 2 à 30: 19168 -> 22580 KiB"), std::string::npos) << text;
    EXPECT_NE(text.find("estável"), std::string::npos) << text;
}

TEST(MemoryVerdict, ASteadyLeakShowsInTheSecondHalf) {
    std::vector<long> rounds;
    for (int i = 0; i < 30; ++i)
        rounds.push_back(22000 + 30 * i); // 30 KiB a round: some bytes per call never freed
    const load::MemoryVerdict verdict = load::judgeMemory(rounds);
    EXPECT_FALSE(verdict.flat);
    EXPECT_NE(load::verdictText(verdict).find("CRESCE"), std::string::npos);
}

TEST(MemoryVerdict, ShrinkingIsFlat) {
    EXPECT_TRUE(load::judgeMemory({30000, 32000, 31000}).flat);
}

TEST(MemoryVerdict, FewerThanThreeRoundsMeasureNothingAndAreNeverFlat) {
    for (const std::vector<long>& rounds : {std::vector<long>{}, {30000}, {30000, 30000}}) {
        const load::MemoryVerdict verdict = load::judgeMemory(rounds);
        EXPECT_FALSE(verdict.afterWarmUp.known);
        EXPECT_FALSE(verdict.flat);
        EXPECT_NE(load::verdictText(verdict).find("não medem"), std::string::npos);
    }
}

TEST(MemoryVerdict, ThreeRoundsJudgeTheLastTwo) {
    const load::MemoryVerdict verdict = load::judgeMemory({10000, 20000, 20100});
    EXPECT_EQ(verdict.steady.fromRound, 2);
    EXPECT_EQ(verdict.steady.kib(), 100);
    EXPECT_TRUE(verdict.flat);
}

} // namespace
