#include "DemoCli.h"
#include "DemoRoles.h"
#include "GeneratedDemo.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

struct CliRun {
    int code;
    std::string out;
    std::string err;
};

CliRun run(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int code = demo::runDemoCli(args, out, err);
    return {code, out.str(), err.str()};
}

TEST(DemoCliTest, HelpPrintsTheSummaryWithTheDemoCodes) {
    const CliRun r = run({"--help"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, demo::demoSummary());
    EXPECT_NE(r.out.find("filial 0001, serviço 003"), std::string::npos);
    EXPECT_NE(r.out.find("filial 0001, serviço 002"), std::string::npos);
    EXPECT_NE(r.out.find("filial 0001, serviço 004"), std::string::npos);
    EXPECT_NE(r.out.find("rescindido: 0004"), std::string::npos);
}

TEST(DemoCliTest, WritesTheDatabaseNamedByOut) {
    TempFolder folder;
    const auto file = folder.path() / "novo.db";
    const CliRun r = run({"--out", file.string()});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_GT(ReadOnlyDb(file).scalar("SELECT COUNT(*) FROM CARDAPIO"), 0);
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "novo.db.parcial"));
}

TEST(DemoCliTest, RefusesToReplaceAnExistingFile) {
    TempFolder folder;
    const auto file = folder.path() / "existente.db";
    std::ofstream(file) << "dados do usuário";
    const CliRun r = run({"--out", file.string()});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("já existe"), std::string::npos);
    std::ifstream kept(file);
    std::string content;
    std::getline(kept, content);
    EXPECT_EQ(content, "dados do usuário");
}

TEST(DemoCliTest, FailureLeavesNoFileBehind) {
    TempFolder folder;
    const auto file = folder.path() / "sem-pasta" / "demo.db";
    const CliRun r = run({"--out", file.string()});
    EXPECT_EQ(r.code, 1);
    EXPECT_FALSE(r.err.empty());
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "sem-pasta" / "demo.db.parcial"));
}

struct BadArgs {
    const char* name;
    std::vector<std::string> args;
};

class DemoCliBadArgs : public testing::TestWithParam<BadArgs> {};

TEST_P(DemoCliBadArgs, AreRefusedWithUsage) {
    const CliRun r = run(GetParam().args);
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("Uso: restcont-demo"), std::string::npos);
    EXPECT_TRUE(r.out.empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, DemoCliBadArgs,
                         testing::Values(BadArgs{"Nothing", {}}, BadArgs{"OutWithoutFile", {"--out"}},
                                         BadArgs{"Unknown", {"--saida", "x.db"}},
                                         BadArgs{"TwoOuts", {"--out", "a.db", "--out", "b.db"}},
                                         BadArgs{"EmptyOut", {"--out="}}),
                         [](const testing::TestParamInfo<BadArgs>& p) { return std::string(p.param.name); });

// demo/README.md keeps the same summary as --help, so the codes a person reads there are the real ones.
TEST(DemoReadmeTest, CarriesTheHelpSummary) {
    const char* env = std::getenv("RESTCONT_SOURCE_DIR");
    const char* source = env ? env : RESTCONT_SOURCE_DIR_DEFAULT;
    std::ifstream file(std::filesystem::path(source) / "demo" / "README.md");
    ASSERT_TRUE(file);
    std::stringstream text;
    text << file.rdbuf();
    EXPECT_NE(text.str().find(demo::demoSummary()), std::string::npos);
}

} // namespace
