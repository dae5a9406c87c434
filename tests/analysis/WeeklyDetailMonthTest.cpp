#include "FaultyFront.h"
#include "OwnDatabaseFixture.h"

#include "host/app/TPageControl.h"
#include "host/edit/TDateEditPlus.h"

#include <nlohmann/json.hpp>

namespace {

// The weekly dish-frequency detail hands the module's month variable to the server by reference:
// it sends the launch month, not the month on screen, and keeps what the server writes back. A front
// that passes every call on to the real server shows what was sent.
class WeeklyDetailMonth : public OwnDatabaseScreenTest {
protected:
    static void SetUpTestSuite() {
        // abc123 twice a week against a weekly limit of one, in March and again in April.
        startOver(infringingServiceSql("W01", "Semanal", {1}) +
                  "INSERT INTO CARDAPIO VALUES ('0001', 'W01', '2026-04-06', 1, 'abc123', 'PP', 'N', 1),"
                  " ('0001', 'W01', '2026-04-07', 1, 'abc123', 'PP', 'N', 1);");
    }
    // The month argument of every weekly dish-detail call so far, as its date.
    std::vector<std::string> monthsSent() const {
        std::vector<std::string> months;
        for (const ScriptedServer::Recorded& call : front->calls()) {
            const auto body = nlohmann::json::parse(call.body);
            if (body["method"] == "GetFreqPratSemDet")
                months.push_back(body["params"][4].get<std::string>().substr(0, 10));
        }
        return months;
    }
    std::unique_ptr<FaultyFront> front = std::make_unique<FaultyFront>(server->port());
};

TEST_F(WeeklyDetailMonth, SendsTheLaunchMonthAndKeepsTheOneTheServerWritesBack) {
    useServer(front->port());
    form = launch(QString(), u"0001"_s, u"W01"_s, day(2026, 3, 1));
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(seam.recorder().errors.isEmpty()) << seam.recorder().lastError().toStdString();
    ASSERT_EQ(dtMesCard, day(2026, 3, 1));

    form->depMes->SetDate(day(2026, 4, 1));
    checkOnly(form->chbFreqPrat);
    form->pgcVerifica->SetActivePage(form->tshVerificar);
    form->pgcPadrao->SetActivePage(form->tshFreqPratSem);
    GuiDrain();
    ASSERT_TRUE(seam.recorder().errors.isEmpty()) << seam.recorder().lastError().toStdString();
    ASSERT_EQ(form->cdsFreqPratSem.RecordCount(), 1);
    EXPECT_EQ(form->cdsFreqPratSem.FieldByName(u"NRSEMANA"_s).AsString(), u"02"_s);
    EXPECT_EQ(monthsSent(), std::vector<std::string>{"2026-03-01"})
        << "the launch month, not the one on screen";
    EXPECT_EQ(dtMesCard, day(2026, 4, 1)) << "the month of the server's week span, written back";
    EXPECT_EQ(menuDays(form->cdsFreqPratSemDet), (QStringList{u"2026-04-06"_s, u"2026-04-07"_s}));

    // The next detail call sends what the server left in the variable.
    form->sbtVerificarClick();
    EXPECT_EQ(monthsSent(), (std::vector<std::string>{"2026-03-01", "2026-04-01"}));
    EXPECT_EQ(dtMesCard, day(2026, 4, 1));
    EXPECT_TRUE(seam.recorder().errors.isEmpty()) << seam.recorder().lastError().toStdString();
}

} // namespace
