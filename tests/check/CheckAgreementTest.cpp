// The check's verdicts and infringed categories against the screen's calculation mode, run for real
// on each service of the same month over the real server.
#include "CheckTestSupport.h"
#include "ContractMenus.h"
#include "GeneratedDemo.h"
#include "OwnDatabaseFixture.h"

#include "analysis/Outcome.h"
#include "server/store/Database.h"

namespace {

using nlohmann::json;

class CheckAgainstCalculation : public OwnDatabaseScreenTest {
protected:
    // Every judged service of the tool's output, launched in calculation mode one after the other.
    void expectAgreement(const std::string& location) {
        const CheckOutcome tool =
            runInProcess({"--database", location, "--month", "2026-03", "--format", "json", "--jobs", "2"});
        ASSERT_NE(tool.status, check::kNotJudged) << tool.err << tool.out;
        int judged = 0;
        for (const json& service : tool.json().at("services")) {
            if (service.at("verdict") == "skipped")
                continue;
            const std::string branch = service.at("branch"), code = service.at("service");
            SCOPED_TRACE(branch + "/" + code);
            ScreenServerTest::TearDown();
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
        int number = 0;
        for (const std::set<int>& categories : cases) {
            rows += infringingServiceSql("S" + std::to_string(++number), "Serviço " + std::to_string(number),
                                         categories);
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
    static void SetUpTestSuite() {
        const std::string demo = generatedDemo().string();
        // The operator who may work on the most branches: the demo's supervisor.
        std::string operatorCode;
        server::Database db(demo);
        db.query("SELECT CDOPERADOR FROM OPERFILI GROUP BY CDOPERADOR ORDER BY COUNT(*) DESC, CDOPERADOR", {},
                 [&](const server::SqlRow& row) {
                     if (operatorCode.empty())
                         operatorCode = row.text(0);
                 });
        startServer(demo, operatorCode);
    }
};

TEST_F(DemoAgreement, EveryServiceIsJudgedAsCalculationModeJudgesIt) {
    expectAgreement(generatedDemo().string());
    EXPECT_GE(judgedServices, 4);
}

} // namespace
