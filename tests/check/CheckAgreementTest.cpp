// The check's verdicts and infringed categories against the screen's calculation mode, run for real
// on each service of the same month over the real server.
#include "CheckTestSupport.h"
#include "ContractMenus.h"
#include "GeneratedDemo.h"
#include "OwnDatabaseFixture.h"

#include "analysis/Outcome.h"
#include "server/store/Database.h"

#include <sqlite3.h>

#include <map>
#include <memory>

namespace {

using nlohmann::json;

class CheckAgainstCalculation : public OwnDatabaseScreenTest {
protected:
    // Every judged service of the tool's output, launched in calculation mode one after the other.
    void expectAgreement(const std::string& location) {
        const CheckOutcome tool =
            runInProcess({"--database", location, "--month", "2026-03", "--format", "json", "--jobs", "2"});
        ASSERT_NE(tool.status, check::kNotJudged) << tool.err << tool.out;
        // Each branch launched by an operator who may work on it, as the host would.
        std::map<std::string, std::string> operators;
        server::Database db(location);
        db.query("SELECT CDFILIAL, CDOPERADOR FROM OPERFILI ORDER BY CDOPERADOR DESC", {},
                 [&](const server::SqlRow& row) { operators.emplace(row.text(0), row.text(1)); });
        int judged = 0;
        const json output = tool.json();
        for (const json& service : output.at("services")) {
            if (service.at("verdict") == "skipped")
                continue;
            const std::string branch = service.at("branch"), code = service.at("service");
            SCOPED_TRACE(branch + "/" + code);
            ScreenServerTest::TearDown();
            operatorName = operators[branch];
            ScreenServerTest::SetUp();
            cell = true;
            form = launch(u"CALCULA"_s, QString::fromStdString(branch), QString::fromStdString(code),
                          day(2026, 3, 1));
            ASSERT_TRUE(seam.recorder().errors.isEmpty()) << seam.recorder().lastError().toStdString();
            std::vector<std::string> infringed;
            if (!cell) {
                ASSERT_NE(frmAnalRestCont, nullptr);
                for (const analysis::OutcomeCategory& category : analysis::kOutcomeOrder)
                    if (!frmAnalRestCont->FindRecordSet(QLatin1StringView(category.summarySet))->IsEmpty())
                        infringed.push_back(category.summaryMethod);
            }
            EXPECT_EQ(service.at("verdict"), cell ? "clear" : "blocked");
            EXPECT_EQ(service.at("infringed").get<std::vector<std::string>>(), infringed);
            ++judged;
        }
        judgedServices = judged;
    }
    int judgedServices = 0;
};

class GeneratedAgreement : public CheckAgainstCalculation {
protected:
    static void SetUpTestSuite() {
        std::string rows;
        const std::set<int> cases[] = {
            {}, {1}, {2, 8}, {3, 4, 7}, {5, 6, 11}, {9, 10}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}};
        int count = 0;
        for (const std::set<int>& categories : cases) {
            const std::string number = std::to_string(++count);
            rows += infringingServiceSql("S" + number, "Serviço " + number, categories);
        }
        rows += limitServiceSql("L1");
        startOver(rows);
    }
};

TEST_F(GeneratedAgreement, EveryServiceIsJudgedAsCalculationModeJudgesIt) {
    expectAgreement(database->url());
    EXPECT_EQ(judgedServices, 8);
}

class DemoAgreement : public CheckAgainstCalculation {
protected:
    // A copy of the demo in which one operator may work on every branch, so that calculation mode
    // can be launched on each (the demo leaves a branch to nobody).
    static void SetUpTestSuite() {
        copy = std::make_unique<TempFile>("demo.db");
        std::filesystem::copy_file(generatedDemo(), copy->path());
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(copy->string().c_str(), &db), SQLITE_OK);
        const int rc = sqlite3_exec(db,
                                    "DELETE FROM OPERFILI WHERE CDOPERADOR = 'VERIFICA';"
                                    "INSERT INTO OPERFILI SELECT 'VERIFICA', CDFILIAL FROM FILIAL;",
                                    nullptr, nullptr, nullptr);
        sqlite3_close(db);
        ASSERT_EQ(rc, SQLITE_OK);
        startServer(copy->string(), {});
    }
    static void TearDownTestSuite() {
        CheckAgainstCalculation::TearDownTestSuite();
        copy.reset();
    }
    static inline std::unique_ptr<TempFile> copy;
};

TEST_F(DemoAgreement, EveryServiceIsJudgedAsCalculationModeJudgesIt) {
    expectAgreement(copy->string());
    EXPECT_GE(judgedServices, 4);
}

} // namespace
