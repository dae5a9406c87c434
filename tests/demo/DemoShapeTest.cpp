#include "DemoShape.h"
#include "DemoCli.h"
#include "GeneratedDemo.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

struct CliRun {
    int code;
    std::string err;
};

CliRun run(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int code = demo::runDemoCli(args, out, err);
    return {code, err.str()};
}

std::string standardMonths() {
    return "2026-01,2026-02,2026-03,2026-04,2026-05,2026-06,2026-07,2026-08,2026-09,2026-10,2026-11,2026-12";
}

// The standard demo asked for by its shape is the standard demo: the shape's path writes the same rows
// as the path without options, so the options change nothing unless they change the shape.
TEST(DemoShapeTest, TheStandardShapeAskedForIsTheStandardDemo) {
    TempFolder folder;
    const auto plain = folder.path() / "plain.db";
    const auto shaped = folder.path() / "shaped.db";
    ASSERT_EQ(run({"--out", plain.string()}).code, 0);
    ASSERT_EQ(run({"--out", shaped.string(), "--branches", "4", "--months", standardMonths()}).code, 0);
    EXPECT_EQ(ReadOnlyDb(shaped).dump(), ReadOnlyDb(plain).dump());
    EXPECT_EQ(ReadOnlyDb(plain).dump(), ReadOnlyDb(generatedDemo()).dump());
}

// Every table's rows of one branch, with the branch code left out, so two branches compare as copies.
std::string rowsOfBranch(const ReadOnlyDb& db, const std::string& branch) {
    std::string rows;
    for (const char* table : {"SERVFILI", "CARDAPIO", "PRODCARD", "NUTRCARD", "CTRFREQPRAT", "CTRRESTPRAT",
                              "CTRUTILPRAT", "CTRRESTPROD", "CTRLIMSERV", "CTRLIMPRAT", "CTRLIMNUTR"})
        rows += std::string(table) + "\n" +
                db.text(std::string("SELECT group_concat(r, ';') FROM (SELECT quote(CDSERVFILI) || ':' || ") +
                        "count(*) r FROM " + table + " WHERE CDFILIAL = '" + branch +
                        "' GROUP BY CDSERVFILI ORDER BY CDSERVFILI)");
    return rows;
}

TEST(DemoShapeTest, MoreBranchesRepeatTheFirstBranchOnlyInTheMonthsAsked) {
    TempFolder folder;
    const auto file = folder.path() / "seven.db";
    const CliRun r = run({"--out", file.string(), "--branches=7", "--months=2026-05,2026-03"});
    ASSERT_EQ(r.code, 0) << r.err;
    const ReadOnlyDb db(file);
    EXPECT_EQ(db.scalar("SELECT count(*) FROM FILIAL"), 7);
    EXPECT_EQ(db.text("SELECT group_concat(CDFILIAL, ',') FROM FILIAL WHERE IDCONTRRESC = 'S'"), "'0004'\n");
    EXPECT_EQ(db.scalar("SELECT count(*) FROM SERVFILI"), 12 + 3 * 4);
    EXPECT_EQ(db.text("SELECT DISTINCT substr(DTCARDAPIO, 1, 7) FROM CARDAPIO ORDER BY 1"),
              "'2026-03'\n'2026-05'\n");
    EXPECT_EQ(db.text("SELECT DISTINCT substr(DTCARDAPIO, 1, 7) FROM NUTRCARD ORDER BY 1"),
              "'2026-03'\n'2026-05'\n");
    for (const char* copy : {"0005", "0006", "0007"})
        EXPECT_EQ(rowsOfBranch(db, copy), rowsOfBranch(db, "0001")) << copy;
    // The copies' menus are the first branch's, day by day and dish by dish.
    EXPECT_EQ(db.scalar("SELECT count(*) FROM CARDAPIO a JOIN CARDAPIO b ON b.CDFILIAL = '0001' AND "
                        "b.CDSERVFILI = a.CDSERVFILI AND b.DTCARDAPIO = a.DTCARDAPIO AND b.NRSEQPRATCAR = "
                        "a.NRSEQPRATCAR AND b.CDPRATO = a.CDPRATO WHERE a.CDFILIAL = '0007'"),
              db.scalar("SELECT count(*) FROM CARDAPIO WHERE CDFILIAL = '0001'"));
    EXPECT_GT(db.scalar("SELECT count(*) FROM CTRFREQPRAT WHERE CDFILIAL = '0006'"), 0);
}

TEST(DemoShapeTest, TheSameArgumentsWriteTheSameRows) {
    TempFolder folder;
    const auto first = folder.path() / "a.db";
    const auto second = folder.path() / "b.db";
    ASSERT_EQ(run({"--out", first.string(), "--branches", "6", "--months", "2026-02"}).code, 0);
    ASSERT_EQ(run({"--months", "2026-02,2026-02", "--branches", "6", "--out", second.string()}).code, 0);
    EXPECT_EQ(ReadOnlyDb(first).dump(), ReadOnlyDb(second).dump());
}

TEST(DemoShapeTest, TwoHundredFiftyBranchesGiveAboutAThousandServices) {
    const demo::DemoShape shape = demo::scaledShape(250, {"2026-03"});
    EXPECT_EQ(shape.branches.size(), 250u);
    EXPECT_EQ(shape.roles.size(), 996u);
    EXPECT_EQ(shape.months, std::vector<std::string>{"2026-03"});
    EXPECT_STREQ(shape.branches.back().code, "0250");
    EXPECT_EQ(shape.roles.back().branch, "0250");
}

TEST(DemoShapeTest, TheContractMonthIsTheDemoMonthWhenAskedElseTheFirst) {
    EXPECT_EQ(demo::scaledShape(4, {"2026-04", "2026-03"}).contractMonth, "2026-03");
    EXPECT_EQ(demo::scaledShape(4, {"2026-06", "2026-04"}).contractMonth, "2026-04");
    EXPECT_EQ(demo::scaledShape(4, {}).contractMonth, "2026-03");
}

struct BadShape {
    const char* name;
    std::vector<std::string> args;
};

class DemoShapeBadArgs : public testing::TestWithParam<BadShape> {};

TEST_P(DemoShapeBadArgs, AreRefusedWithUsageAndWriteNothing) {
    TempFolder folder;
    const auto file = folder.path() / "demo.db";
    std::vector<std::string> args{"--out", file.string()};
    args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
    const CliRun r = run(args);
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("Uso: restcont-demo"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(file));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DemoShapeBadArgs,
    testing::Values(
        BadShape{"NoBranches", {"--branches", "0"}}, BadShape{"TooManyBranches", {"--branches", "10000"}},
        BadShape{"BranchesNotANumber", {"--branches", "12a"}},
        BadShape{"BranchesNegative", {"--branches=-3"}}, BadShape{"BranchesWithoutValue", {"--branches"}},
        BadShape{"BranchesTwice", {"--branches", "5", "--branches", "6"}},
        BadShape{"MonthThirteen", {"--months", "2026-13"}}, BadShape{"MonthOneDigit", {"--months", "2026-3"}},
        BadShape{"MonthsEmpty", {"--months="}}, BadShape{"MonthsTrailingComma", {"--months", "2026-03,"}},
        BadShape{"MonthsTwice", {"--months", "2026-03", "--months", "2026-04"}},
        BadShape{"MonthsCenturies",
                 {"--months",
                  [] {
                      std::string all;
                      for (int y = 2000; y < 2011; ++y)
                          for (int m = 1; m <= 12; ++m)
                              all += std::to_string(y) + "-" + (m < 10 ? "0" : "") + std::to_string(m) + ",";
                      all.pop_back();
                      return all;
                  }()}}),
    [](const testing::TestParamInfo<BadShape>& p) { return std::string(p.param.name); });

} // namespace
