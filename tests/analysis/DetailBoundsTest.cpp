#include "OwnDatabaseFixture.h"

namespace {

struct LimitCategory {
    const char* name;
    const char* box;
    const char* summary;
    const char* detail;
};

void PrintTo(const LimitCategory& c, std::ostream* os) {
    *os << c.name;
}

// The three limit categories hand their summary row's minimum and maximum to the detail method.
// The server judges the days against the bounds it receives, so a swap or a lost bound shows as
// other days in the detail.
class DetailBounds : public OwnDatabaseScreenTest, public ::testing::WithParamInterface<LimitCategory> {
protected:
    static void SetUpTestSuite() { startOver(limitServiceSql("LIM")); }
};

TEST_P(DetailBounds, EachBoundReachesTheServerInItsOwnPlace) {
    form = launch(QString(), u"0001"_s, u"LIM"_s, day(2026, 3, 1));
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(seam.recorder().errors.isEmpty()) << seam.recorder().lastError().toStdString();
    checkOnly(form->FindOptionBox(QLatin1StringView(GetParam().box)));
    form->sbtVerificarClick();
    TClientDataSet& summary = *form->FindRecordSet(QLatin1StringView(GetParam().summary));
    TClientDataSet& detail = *form->FindRecordSet(QLatin1StringView(GetParam().detail));
    ASSERT_EQ(summary.RecordCount(), 2);

    ASSERT_EQ(summary.RecNo(), 1);
    EXPECT_EQ(menuDays(detail), (QStringList{u"2026-03-02"_s, u"2026-03-04"_s}))
        << "below 1 and above 5, not the 3 in between";
    summary.Next();
    EXPECT_EQ(menuDays(detail), QStringList{u"2026-03-06"_s}) << "no minimum: only what passes the maximum";
    EXPECT_TRUE(seam.recorder().errors.isEmpty()) << seam.recorder().lastError().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Limits, DetailBounds,
    ::testing::Values(LimitCategory{"per_service", "chbLimPerSer", "cdsLimPeSer", "cdsLimPeSerDet"},
                      LimitCategory{"per_dish", "chbLimPerPrat", "cdsLimPePra", "cdsLimPePraDet"},
                      LimitCategory{"nutrients", "chbLimNutri", "cdsLimNutri", "cdsLimNutriDet"}),
    [](const auto& row) { return std::string(row.param.name); });

} // namespace
