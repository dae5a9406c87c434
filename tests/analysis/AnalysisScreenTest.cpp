#include "ScreenFixture.h"

#include "host/edit/TDateEditPlus.h"
#include "host/edit/TEdit.h"
#include "host/edit/TMaskEdit.h"
#include "host/grid/TDBGrid.h"

using namespace Qt::StringLiterals;
using namespace host;

namespace {

TEST_F(AnalysisScreenTest, OnlyTheCheckedCategoryIsFetchedWithTheWeekSpanAndItsFirstDetail) {
    form = launch(u""_s, u"0001"_s, u"002"_s, day(2026, 3, 1));
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(seam.recorder().errors.isEmpty()) << seam.recorder().lastError().toStdString();
    // A first run fills the weekly dish frequencies, which the next run must keep.
    checkOnly(form->chbFreqPrat);
    methodsCalled();
    form->sbtVerificarClick();
    ASSERT_FALSE(form->cdsFreqPratSem.IsEmpty());
    const int weeklyRows = form->cdsFreqPratSem.RecordCount();

    checkOnly(form->chbRestProd);
    methodsCalled();
    form->sbtVerificarClick();
    EXPECT_EQ(methodsCalled(), (QStringList{u"GetDataSemana"_s, u"GetRestProd"_s, u"GetRestProdDet"_s}));
    EXPECT_FALSE(form->cdsRestProd.IsEmpty());
    EXPECT_FALSE(form->cdsRestProdDet.IsEmpty()) << "the first row's days load with the summary";
    EXPECT_EQ(form->cdsFreqPratSem.RecordCount(), weeklyRows) << "an unchecked frequency box keeps its rows";
    EXPECT_TRUE(boFreqPratSem) << "and stays out of date";
    EXPECT_FALSE(boRestProd);
    EXPECT_FALSE(boDataSemana);
    for (TClientDataSet* set : {&form->cdsRestPratMes, &form->cdsLimNutri, &form->cdsLimPeSer})
        EXPECT_TRUE(set->IsEmpty()) << set->Name.toStdString();

    // Pressing again for the same selection asks again.
    form->sbtVerificarClick();
    EXPECT_EQ(methodsCalled().count(u"GetRestProd"_s), 1);
}

TEST_F(AnalysisScreenTest, AnUnmarkedCurrentServiceIsNotAnalysedAndEverythingStaysOutOfDate) {
    form = launch(u""_s, u"0001"_s, u"002"_s, day(2026, 3, 1));
    ASSERT_NE(form, nullptr);
    checkOnly(form->chbRestProd);
    form->chbLimNutri->SetChecked(true);
    ASSERT_TRUE(form->cdsServico.Locate(u"CDSERVFILI"_s, u"003"_s));
    ASSERT_EQ(form->cdsServico.FieldByName(u"IDMARCADO"_s).AsString(), u"N"_s);
    methodsCalled();
    form->sbtVerificarClick();
    EXPECT_TRUE(methodsCalled().isEmpty());
    for (bool* flag : reloadFlags())
        EXPECT_TRUE(*flag);
    EXPECT_TRUE(form->cdsRestProd.IsEmpty());
}

TEST_F(AnalysisScreenTest, TheChecksRefuseInOrderBeforeAnyCall) {
    form = launch(u""_s, u"0001"_s, u""_s, 0);
    ASSERT_NE(form, nullptr);
    methodsCalled();
    // Nothing checked and nothing marked: the options come first.
    EXPECT_EQ(refusalOf([&] { form->sbtVerificarClick(); }),
              u"Opção de restrição deve ser informada para cálculo."_s);
    form->chbRestPrat->SetChecked(true);
    EXPECT_EQ(refusalOf([&] { form->sbtVerificarClick(); }), u"Serviço deve ser selecionado."_s);
    EXPECT_EQ(form->pgcPadrao->ActivePage(), form->tshServicos);
    form->depMes->SetText(QString());
    EXPECT_EQ(refusalOf([&] { form->sbtVerificarClick(); }), u"Data deve ser informada."_s);
    EXPECT_TRUE(methodsCalled().isEmpty());
}

TEST_F(AnalysisScreenTest, LaunchValuesFillBranchMonthAndTheMarkedService) {
    // No branch: the operator's processing branch, from the context.
    form = launch(u""_s, u""_s, u""_s, 0);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->medCdFilial->Text(), u"0001"_s);
    EXPECT_FALSE(form->edtNmFilial->Text().isEmpty());
    form->Close();
    GuiDrain();

    // A branch without a service: the branch's processing month, whatever month was given.
    form = launch(u""_s, u"0002"_s, u""_s, day(2026, 7, 1));
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->medCdFilial->Text(), u"0002"_s);
    EXPECT_EQ(form->edtNmFilial->Text(), u"Refeitório Metalúrgica Aurora"_s);
    EXPECT_EQ(form->depMes->GetPrimDia(), day(2026, 3, 1));
    form->Close();
    GuiDrain();

    // A branch and a service: the launch month and the service marked and current.
    form = launch(u""_s, u"0001"_s, u"004"_s, day(2026, 5, 1));
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->depMes->GetPrimDia(), day(2026, 5, 1));
    EXPECT_EQ(form->cdsServico.FieldByName(u"CDSERVFILI"_s).AsString(), u"004"_s);
    EXPECT_EQ(form->cdsServico.FieldByName(u"IDMARCADO"_s).AsString(), u"S"_s);
    EXPECT_TRUE(boApply);
    EXPECT_EQ(form->pgcVerifica->ActivePage(), form->tshOpcoes);
    for (int i = 1; i < form->pgcPadrao->GetPageCount(); ++i)
        EXPECT_FALSE(form->pgcPadrao->GetPage(i)->Shown()) << "result pages start hidden";
}

TEST_F(AnalysisScreenTest, CalculationWithAClearMenuAnswersTrueAndCloses) {
    form = launch(u"CALCULA"_s, u"0001"_s, u"003"_s, day(2026, 3, 1));
    GuiDrain();
    EXPECT_TRUE(cell);
    EXPECT_TRUE(frmAnalRestCont.isNull()) << "the form closes by itself";
    EXPECT_TRUE(seam.recorder().messages.empty());
}

TEST_F(AnalysisScreenTest, CalculationShowsTheFirstInfringedCategoryAndBlocks) {
    form = launch(u"CALCULA"_s, u"0001"_s, u"004"_s, day(2026, 3, 1));
    ASSERT_NE(form, nullptr);
    EXPECT_FALSE(cell);
    EXPECT_EQ(form->pgcPadrao->ActivePage(), form->tshLimNutri) << "only nutrients are infringed";
    EXPECT_EQ(form->pgcVerifica->ActivePage(), form->tshVerificar);
    ASSERT_EQ(seam.recorder().messages.size(), 1u);
    EXPECT_EQ(seam.recorder().messages[0].text,
              u"Operação bloqueada. O cardápio infringiu as restrições contratuais."_s);
    EXPECT_EQ(seam.recorder().messages[0].type, TMsgDlgType::mtInformation);
    for (TCheckBox* box : {form->chbFreqPrat, form->chbRestProd, form->chbLimNutri}) {
        EXPECT_TRUE(box->Checked());
        EXPECT_FALSE(box->Enabled());
    }
    EXPECT_FALSE(form->medCdFilial->Usable());
    EXPECT_FALSE(form->dbgServico->Enabled());
    form->Close();
    GuiDrain();

    form = launch(u"CALCULA"_s, u"0001"_s, u"002"_s, day(2026, 3, 1));
    ASSERT_NE(form, nullptr);
    EXPECT_FALSE(cell);
    EXPECT_EQ(form->pgcPadrao->ActivePage(), form->tshFreqPratSem) << "the first of the table";
}

TEST_F(AnalysisScreenTest, CalculationThatCannotJudgeNeverReadsClear) {
    // A service the branch does not serve: nothing is marked and the services check refuses.
    cell = true;
    form = launch(u"CALCULA"_s, u"0001"_s, u"999"_s, day(2026, 3, 1));
    ASSERT_NE(form, nullptr);
    EXPECT_FALSE(cell);
    EXPECT_EQ(seam.recorder().lastError(), u"Serviço deve ser selecionado."_s);
    EXPECT_FALSE(form->chbFreqPrat->Enabled());
    EXPECT_FALSE(form->panFilial->Enabled());
    form->Close();
    GuiDrain();

    // No server.
    useServer(1);
    cell = true;
    form = launch(u"CALCULA"_s, u"0001"_s, u"003"_s, day(2026, 3, 1));
    EXPECT_FALSE(cell);
    EXPECT_FALSE(seam.recorder().lastError().isEmpty());
}

struct LaunchBranchCase {
    const char* branch;
    const char16_t* refusal;
};

class CalculationLaunchBranch : public AnalysisScreenTest,
                                public ::testing::WithParamInterface<LaunchBranchCase> {};

// Calculation mode holds its launch branch to what leaving the branch panel asks: no verdict for a branch
// the operator may not work on, a rescinded contract or an unknown branch, and nothing written.
TEST_P(CalculationLaunchBranch, IsRefusedBeforeAnyAnalysisAndWritesNoOutcome) {
    cell = true;
    (void)methodsCalled();
    form = launch(u"CALCULA"_s, QString::fromLatin1(GetParam().branch), u"001"_s, day(2026, 3, 1));
    ASSERT_NE(form, nullptr);
    EXPECT_FALSE(cell) << "never read as clear";
    EXPECT_TRUE(seam.recorder().messages.empty()) << "no verdict shown";
    EXPECT_TRUE(seam.recorder().lastError().contains(QString::fromUtf16(GetParam().refusal)))
        << seam.recorder().lastError().toStdString();
    EXPECT_FALSE(methodsCalled().contains(u"GetFreqPratSem"_s)) << "no analysis ran";
    form->Close();
    GuiDrain();
}

INSTANTIATE_TEST_SUITE_P(Branches, CalculationLaunchBranch,
                         ::testing::Values(LaunchBranchCase{"0003", u"não tem permissão"},
                                           LaunchBranchCase{"0004", u"Filial com contrato rescindido."},
                                           LaunchBranchCase{"0009", u"Filial não cadastrada."}));

TEST_F(AnalysisScreenTest, AnUnknownLaunchBranchOpensWithAnEmptyNameAndServiceList) {
    form = launch(u""_s, u"0009"_s, u"001"_s, day(2026, 3, 1));
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(seam.recorder().errors.isEmpty()) << seam.recorder().lastError().toStdString();
    EXPECT_EQ(form->medCdFilial->Text(), u"0009"_s);
    EXPECT_TRUE(form->edtNmFilial->Text().isEmpty());
    EXPECT_TRUE(form->cdsServico.IsEmpty());
}

TEST_F(AnalysisScreenTest, AConfinedOperatorNeverGetsAnEditableBranchEvenWhenConnectingFails) {
    useServer(1);
    OperatorContext::instance().set(keys::kOperatorBranchLocked, u"true"_s);
    form = launch(u""_s, u"0001"_s, u""_s, 0);
    ASSERT_NE(form, nullptr);
    EXPECT_FALSE(seam.recorder().errors.isEmpty()) << "the connection failed";
    EXPECT_FALSE(form->medCdFilial->Enabled());
    EXPECT_FALSE(form->lblFilial->Enabled());
}

TEST_F(AnalysisScreenTest, AFailedDetailLoadLeavesNoOtherRowsDaysBehind) {
    ServerProcess own(generatedDemo().string());
    useServer(own.port());
    form = launch(u""_s, u"0001"_s, u"002"_s, day(2026, 3, 1));
    ASSERT_NE(form, nullptr);
    checkOnly(form->chbLimNutri);
    form->sbtVerificarClick();
    ASSERT_GE(form->cdsLimNutri.RecordCount(), 2);
    ASSERT_FALSE(form->cdsLimNutriDet.IsEmpty());
    own.stop();
    EXPECT_FALSE(refusalOf([&] { form->cdsLimNutri.Next(); }).isEmpty());
    EXPECT_EQ(form->cdsLimNutri.RecNo(), 2);
    EXPECT_TRUE(form->cdsLimNutriDet.IsEmpty());
}

TEST_F(AnalysisScreenTest, MovingThroughASummaryLoadsEachRowsDays) {
    form = launch(u""_s, u"0001"_s, u"002"_s, day(2026, 3, 1));
    ASSERT_NE(form, nullptr);
    checkOnly(form->chbLimNutri);
    form->sbtVerificarClick();
    ASSERT_GE(form->cdsLimNutri.RecordCount(), 2);
    methodsCalled();
    form->cdsLimNutri.Next();
    form->cdsLimNutri.First();
    EXPECT_EQ(methodsCalled(), (QStringList{u"GetLimNutriDet"_s, u"GetLimNutriDet"_s}));
    EXPECT_FALSE(form->cdsLimNutriDet.IsEmpty());
}

} // namespace
