#include "OwnDatabaseFixture.h"

#include "host/app/TPageControl.h"
#include "host/app/TTabSheet.h"

namespace {

// A service whose menu infringes nothing: every summary comes back without rows.
class EmptySummary : public OwnDatabaseScreenTest {
protected:
    static void SetUpTestSuite() { startOver(infringingServiceSql("VAZ", "Sem restrições", {})); }
    void enter(TTabSheet* page) {
        form->pgcPadrao->SetActivePage(page);
        GuiDrain();
    }
};

TEST_F(EmptySummary, LeavesBothGridsEmptyAsksNoDetailAndCountsAsCurrent) {
    form = launch(QString(), u"0001"_s, u"VAZ"_s, day(2026, 3, 1));
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(seam.recorder().errors.isEmpty()) << seam.recorder().lastError().toStdString();
    form->chbLimNutri->SetChecked(true);
    form->chbFreqPrat->SetChecked(true);
    form->pgcVerifica->SetActivePage(form->tshVerificar);
    methodsCalled();

    struct Page {
        TTabSheet* page;
        TClientDataSet& summary;
        TClientDataSet& detail;
        bool* flag;
        QStringList calls;
    };
    const Page pages[] = {
        {form->tshLimNutri, form->cdsLimNutri, form->cdsLimNutriDet, &boLimNutri, {u"GetLimNutri"_s}},
        {form->tshFreqPratSem,
         form->cdsFreqPratSem,
         form->cdsFreqPratSemDet,
         &boFreqPratSem,
         {u"GetDataSemana"_s, u"GetFreqPratSem"_s}},
    };
    for (const Page& p : pages) {
        SCOPED_TRACE(p.page->Name().toStdString());
        enter(p.page);
        EXPECT_EQ(methodsCalled(), p.calls) << "no detail for a summary without rows";
        EXPECT_EQ(p.summary.State(), TDataSetState::dsBrowse) << "open";
        EXPECT_TRUE(p.summary.IsEmpty());
        EXPECT_TRUE(p.detail.IsEmpty());
        EXPECT_FALSE(*p.flag) << "no infringement is a current answer";
        enter(form->tshServicos);
        enter(p.page);
        EXPECT_TRUE(methodsCalled().isEmpty()) << "entering again asks nothing";
    }
    EXPECT_TRUE(seam.recorder().errors.isEmpty()) << seam.recorder().lastError().toStdString();
}

} // namespace
