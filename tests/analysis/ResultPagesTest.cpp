#include "ScreenFixture.h"

#include "host/edit/TDateEditPlus.h"
#include "host/edit/TEdit.h"
#include "host/edit/TMaskEdit.h"
#include "host/grid/TDBGrid.h"
#include "host/grid/TDBNavigator.h"
#include "host/grid/VirtualKey.h"

namespace {

// The result pages of the real screen: when they fetch, what they show, how their grids take keys.
class ResultPagesTest : public AnalysisScreenTest {
protected:
    void SetUp() override {
        AnalysisScreenTest::SetUp();
        form = launch(u""_s, u"0001"_s, u"002"_s, day(2026, 3, 1));
        ASSERT_NE(form, nullptr);
        ASSERT_TRUE(seam.recorder().errors.isEmpty()) << seam.recorder().lastError().toStdString();
        form->chbFreqPrat->SetChecked(true);
        form->chbLimNutri->SetChecked(true);
        form->pgcVerifica->SetActivePage(form->tshVerificar);
        methodsCalled();
    }
    void enter(TTabSheet* page) {
        form->pgcPadrao->SetActivePage(page);
        GuiDrain();
    }
};

TEST_F(ResultPagesTest, APageFetchesOncePerSelectionAndAWeeklyPageFetchesItsWeekFirst) {
    enter(form->tshFreqPratSem);
    EXPECT_EQ(methodsCalled(),
              (QStringList{u"GetDataSemana"_s, u"GetFreqPratSem"_s, u"GetFreqPratSemDet"_s}));
    enter(form->tshServicos);
    enter(form->tshFreqPratSem);
    EXPECT_TRUE(methodsCalled().isEmpty()) << "current: no call";
    enter(form->tshLimNutri);
    EXPECT_EQ(methodsCalled(), (QStringList{u"GetLimNutri"_s, u"GetLimNutriDet"_s})) << "monthly: no week";
}

TEST_F(ResultPagesTest, AReloadStandsOnTheFirstRowWhateverRowWasCurrent) {
    enter(form->tshLimNutri);
    ASSERT_GE(form->cdsLimNutri.RecordCount(), 2);
    const QString firstNutrient = form->cdsLimNutri.FieldByName(u"CDNUTRIENTE"_s).AsString();
    const QStringList firstDays = menuDays(form->cdsLimNutriDet);
    form->cdsLimNutri.Last();
    ASSERT_NE(form->cdsLimNutri.FieldByName(u"CDNUTRIENTE"_s).AsString(), firstNutrient);
    ASSERT_NE(menuDays(form->cdsLimNutriDet), firstDays);
    TDBGrid* grid = form->FindGrid(u"DBGrid1"_s);
    ASSERT_EQ(grid->currentIndex().row(), form->cdsLimNutri.RecordCount() - 1);
    methodsCalled();

    // A new analysis reloads the page in front.
    form->sbtVerificarClick();
    EXPECT_EQ(methodsCalled().count(u"GetLimNutri"_s), 1) << "reloaded";
    EXPECT_EQ(form->cdsLimNutri.RecNo(), 1);
    EXPECT_EQ(grid->currentIndex().row(), 0) << "the grid shows the first row";
    EXPECT_EQ(form->cdsLimNutri.FieldByName(u"CDNUTRIENTE"_s).AsString(), firstNutrient);
    EXPECT_EQ(menuDays(form->cdsLimNutriDet), firstDays) << "with the first row's days";
}

TEST_F(ResultPagesTest, AnotherMonthOnScreenMakesThePagesFetchAgain) {
    enter(form->tshLimNutri);
    methodsCalled();
    form->depMes->SetDate(day(2026, 4, 1));
    enter(form->tshServicos);
    enter(form->tshLimNutri);
    EXPECT_EQ(methodsCalled(), (QStringList{u"GetLimNutri"_s, u"GetLimNutriDet"_s}));
    EXPECT_DOUBLE_EQ(form->cdsLimNutri.FieldByName(u"DTMESCARD"_s).AsDateTime(), day(2026, 4, 1))
        << "the rows are April's";
}

TEST_F(ResultPagesTest, AnUnmarkedServiceShowsEmptyGridsWithoutAsking) {
    enter(form->tshLimNutri);
    ASSERT_FALSE(form->cdsLimNutri.IsEmpty());
    methodsCalled();
    ASSERT_TRUE(form->cdsServico.Locate(u"CDSERVFILI"_s, u"003"_s));
    GuiDrain();
    EXPECT_TRUE(form->cdsLimNutri.IsEmpty());
    EXPECT_TRUE(form->cdsLimNutriDet.IsEmpty());
    EXPECT_TRUE(methodsCalled().isEmpty());
    EXPECT_TRUE(boLimNutri) << "still out of date";
}

TEST_F(ResultPagesTest, TheNavigatorReloadsThePageInFrontOnlyAndTheOthersOnEntry) {
    form->cdsServico.First();
    form->cdsServico.Edit();
    form->cdsServico.FieldByName(u"IDMARCADO"_s).SetAsString(u"S"_s);
    form->cdsServico.Post();
    enter(form->tshLimNutri);
    methodsCalled();
    form->dbnPadrao->BtnClick(TNavigateBtn::nbNext);
    GuiDrain();
    // The next service (002) is marked too: its nutrients come at once, the dish pages wait.
    EXPECT_EQ(methodsCalled(), (QStringList{u"GetLimNutri"_s, u"GetLimNutriDet"_s}));
    EXPECT_EQ(form->cdsLimNutri.FieldByName(u"CDSERVFILI"_s).AsString(),
              form->cdsServico.FieldByName(u"CDSERVFILI"_s).AsString());
    EXPECT_TRUE(boFreqPratSem);
    enter(form->tshFreqPratMes);
    EXPECT_EQ(methodsCalled(), (QStringList{u"GetFreqPratMes"_s, u"GetFreqPratMesDet"_s}));
}

TEST_F(ResultPagesTest, LeavingTheSelectionPageChecksBranchAndMonth) {
    form->pgcVerifica->SetActivePage(form->tshOpcoes);
    form->medCdFilial->SetText(u"1"_s);
    form->pgcVerifica->RequestPage(1);
    EXPECT_EQ(form->pgcVerifica->ActivePage(), form->tshVerificar);
    EXPECT_EQ(form->medCdFilial->Text(), u"0001"_s);
    EXPECT_FALSE(form->edtNmFilial->Text().isEmpty());

    form->pgcVerifica->SetActivePage(form->tshOpcoes);
    form->depMes->SetText(QString());
    form->pgcVerifica->RequestPage(1);
    EXPECT_EQ(form->pgcVerifica->ActivePage(), form->tshOpcoes);
    EXPECT_EQ(seam.recorder().lastError(), u"Data deve ser informada."_s);

    form->depMes->SetDate(day(2026, 3, 1));
    form->medCdFilial->SetText(u"0003"_s);
    form->pgcVerifica->RequestPage(1);
    EXPECT_EQ(form->pgcVerifica->ActivePage(), form->tshOpcoes) << "a branch the operator may not use";
}

TEST_F(ResultPagesTest, CtrlDeleteIsDiscardedInEveryResultGrid) {
    ASSERT_EQ(form->ResultGrids.size(), 22u);
    for (const auto& [name, grid] : form->ResultGrids) {
        ASSERT_TRUE(grid->OnKeyDown) << name.toStdString();
        int key = vk::Delete;
        grid->OnKeyDown(grid, key, TShift::ssCtrl);
        EXPECT_EQ(key, 0) << name.toStdString();
        key = vk::Delete;
        grid->OnKeyDown(grid, key, TShift::ssCtrl | TShift::ssShift);
        EXPECT_EQ(key, vk::Delete) << name.toStdString();
        key = vk::Delete;
        grid->OnKeyDown(grid, key, TShiftState());
        EXPECT_EQ(key, vk::Delete) << name.toStdString();
    }
}

} // namespace
