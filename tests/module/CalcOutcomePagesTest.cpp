#include "OwnDatabaseFixture.h"

#include "host/app/TPageControl.h"
#include "host/app/TTabSheet.h"

namespace {

struct Position {
    int place; // in the order in which calculation mode looks for the first infringement
    const char* summary;
    const char* page;
};

void PrintTo(const Position& p, std::ostream* os) {
    *os << p.place << ' ' << p.summary;
}

const Position kOrder[] = {
    {1, "cdsFreqPratSem", "tshFreqPratSem"}, {2, "cdsFreqPratMes", "tshFreqPratMes"},
    {3, "cdsFreqOpcaSem", "tshFreqOpcaSem"}, {4, "cdsFreqOpcaMes", "tshFreqOpcaMes"},
    {5, "cdsRestPratMes", "tshRestPratMes"}, {6, "cdsRestOpcaMes", "tshRestOpcaMes"},
    {7, "cdsUtilPratSem", "tshUtilPratSem"}, {8, "cdsLimNutri", "tshLimNutri"},
    {9, "cdsLimPePra", "tshLimPerPrat"},     {10, "cdsLimPeSer", "tshLimPerSer"},
    {11, "cdsRestProd", "tshRestProd"},
};

std::string serviceAt(int place) {
    return (place < 10 ? "S0" : "S") + std::to_string(place);
}

// Service Sk infringes the categories from place k to the last: calculation mode must stop at place
// k, whatever follows, and show its page.
class CalcOutcomePages : public OwnDatabaseScreenTest, public ::testing::WithParamInterface<Position> {
protected:
    static void SetUpTestSuite() {
        std::string rows;
        for (const Position& p : kOrder) {
            std::set<int> from;
            for (int later = p.place; later <= 11; ++later)
                from.insert(later);
            rows += infringingServiceSql(serviceAt(p.place), "Serviço " + std::to_string(p.place), from);
        }
        startOver(rows);
    }
};

TEST_P(CalcOutcomePages, TheFirstInfringedCategoryInTheOrderIsShown) {
    const Position& p = GetParam();
    cell = true;
    form = launch(u"CALCULA"_s, u"0001"_s, QString::fromStdString(serviceAt(p.place)), day(2026, 3, 1));
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(seam.recorder().errors.isEmpty()) << seam.recorder().lastError().toStdString();
    for (const Position& each : kOrder)
        EXPECT_EQ(form->FindRecordSet(QLatin1StringView(each.summary))->IsEmpty(), each.place < p.place)
            << each.summary << ": the menu infringes from place " << p.place << " on";
    EXPECT_FALSE(cell) << "blocked";
    EXPECT_EQ(form->pgcPadrao->ActivePage(), form->FindPage(QLatin1StringView(p.page)));
    EXPECT_EQ(form->pgcVerifica->ActivePage(), form->tshVerificar);
    ASSERT_EQ(seam.recorder().messages.size(), 1u);
    EXPECT_EQ(seam.recorder().messages[0].text,
              u"Operação bloqueada. O cardápio infringiu as restrições contratuais."_s);
}

INSTANTIATE_TEST_SUITE_P(Calculation, CalcOutcomePages, ::testing::ValuesIn(kOrder),
                         [](const auto& row) { return "place_" + std::to_string(row.param.place); });

} // namespace
