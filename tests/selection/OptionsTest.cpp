#include "ModuleFixture.h"
#include "RefusalOf.h"

#include "host/app/Dispatch.h"

#include <QApplication>

using namespace Qt::StringLiterals;
using namespace host;

namespace {

class OptionsTest : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        IniProc(QVariant());
        form = frmAnalRestCont;
        ASSERT_NE(form, nullptr);
        // The first activation has run (and, with no server here, stopped at its connect step);
        // the focus moves the checks make need the form's window active.
        GuiDrain();
        form->FormWindow()->activateWindow();
        GuiDrain();
    }
    // The result pages whose tab the user sees, in page order.
    QStringList shownResultPages() const {
        QStringList shown;
        for (int i = 1; i < form->pgcPadrao->GetPageCount(); ++i)
            if (form->pgcPadrao->GetPage(i)->Shown())
                shown << form->pgcPadrao->GetPage(i)->Name();
        return shown;
    }
    TfrmAnalRestCont* form = nullptr;
};

TEST_F(OptionsTest, BoxesSitInTwoColumnsInTabOrderWithTheirCaptions) {
    const struct {
        TCheckBox* box;
        const char16_t* caption;
        int left, top;
    } expected[] = {
        {form->chbFreqPrat, u"Frequência de Pratos no Mês", 6, 4},
        {form->chbFreqOpca, u"Frequência de Opções no Mês", 6, 29},
        {form->chbUtilPrat, u"Utilização de Pratos na Semana", 6, 54},
        {form->chbLimPerSer, u"Limite de Per Capita por Serviço", 6, 79},
        {form->chbLimPerPrat, u"Limite de Per Capita por Prato", 6, 104},
        {form->chbLimNutri, u"Limite de Nutrientes por Serviço", 6, 129},
        {form->chbRestPrat, u"Restrição de Pratos no Mês", 245, 4},
        {form->chbRestOpca, u"Restrição de Opcões no Mês", 245, 29},
        {form->chbRestProd, u"Restrição de Produtos ", 245, 54},
    };
    QWidget* previous = nullptr;
    for (const auto& e : expected) {
        ASSERT_NE(e.box, nullptr);
        EXPECT_EQ(e.box->Caption(), QString::fromUtf16(e.caption));
        EXPECT_EQ(e.box->geometry().topLeft(), QPoint(e.left, e.top)) << e.box->Name().toStdString();
        EXPECT_TRUE(e.box->Bold());
        EXPECT_FALSE(e.box->Checked());
        EXPECT_EQ(e.box->Parent(), form->panRestricoes);
        if (previous) {
            EXPECT_EQ(previous->nextInFocusChain(), e.box)
                << "tab order after " << previous->objectName().toStdString();
        }
        previous = e.box;
    }
}

TEST_F(OptionsTest, ThePagesComeInTheirOrderWithTheirCaptions) {
    const QStringList names{u"tshServicos"_s,    u"tshFreqPratSem"_s, u"tshFreqPratMes"_s,
                            u"tshFreqOpcaSem"_s, u"tshFreqOpcaMes"_s, u"tshRestPratMes"_s,
                            u"tshRestOpcaMes"_s, u"tshUtilPratSem"_s, u"tshLimNutri"_s,
                            u"tshLimPerPrat"_s,  u"tshLimPerSer"_s,   u"tshRestProd"_s};
    ASSERT_EQ(form->pgcPadrao->GetPageCount(), names.size());
    for (int i = 0; i < names.size(); ++i)
        EXPECT_EQ(form->pgcPadrao->GetPage(i)->Name(), names[i]);
    EXPECT_EQ(form->tshFreqPratSem->Caption(), u"Frequência de Pratos (Semana)"_s);
    EXPECT_EQ(form->tshRestOpcaMes->Caption(), u"Restrição de Opções (Mês)"_s);
    EXPECT_EQ(form->pgcVerifica->GetPage(0), form->tshOpcoes);
    EXPECT_EQ(form->tshOpcoes->Caption(), u"Opções"_s);
    EXPECT_EQ(form->tshVerificar->Caption(), u"Verificar"_s);
    EXPECT_EQ(form->pgcPadrao->focusPolicy(), Qt::NoFocus) << "not a tab stop";
}

TEST_F(OptionsTest, EachBoxShowsAndHidesItsOwnResultPagesOnly) {
    for (TTabSheet* page :
         {form->tshFreqPratSem, form->tshFreqPratMes, form->tshFreqOpcaSem, form->tshFreqOpcaMes,
          form->tshRestPratMes, form->tshRestOpcaMes, form->tshUtilPratSem, form->tshLimNutri,
          form->tshLimPerPrat, form->tshLimPerSer, form->tshRestProd}) {
        page->SetVisible(false);
        page->SetTabVisible(false);
    }
    form->chbFreqPrat->SetChecked(true);
    EXPECT_EQ(shownResultPages(), (QStringList{u"tshFreqPratSem"_s, u"tshFreqPratMes"_s}));
    form->chbLimNutri->SetChecked(true);
    form->chbRestProd->SetChecked(true);
    EXPECT_EQ(shownResultPages(),
              (QStringList{u"tshFreqPratSem"_s, u"tshFreqPratMes"_s, u"tshLimNutri"_s, u"tshRestProd"_s}));
    form->chbFreqPrat->SetChecked(false);
    EXPECT_EQ(shownResultPages(), (QStringList{u"tshLimNutri"_s, u"tshRestProd"_s}));
    // A page's two switches follow the box together.
    EXPECT_FALSE(form->tshFreqPratSem->Visible());
    EXPECT_FALSE(form->tshFreqPratSem->TabVisible());
    form->chbLimNutri->SetChecked(false);
    form->chbRestProd->SetChecked(false);
    EXPECT_TRUE(shownResultPages().isEmpty());
    EXPECT_TRUE(form->tshServicos->Shown());
}

TEST_F(OptionsTest, AnyBoxChangeBringsTheServiceListForward) {
    form->chbFreqOpca->SetChecked(true);
    form->chbUtilPrat->SetChecked(true);
    form->pgcPadrao->SetActivePage(form->tshUtilPratSem);
    ASSERT_EQ(form->pgcPadrao->ActivePage(), form->tshUtilPratSem);
    form->chbLimPerSer->SetChecked(true);
    EXPECT_EQ(form->pgcPadrao->ActivePage(), form->tshServicos);
    form->pgcPadrao->SetActivePage(form->tshFreqOpcaMes);
    form->chbLimPerSer->SetChecked(false);
    EXPECT_EQ(form->pgcPadrao->ActivePage(), form->tshServicos) << "unchecking too";
}

TEST_F(OptionsTest, TheOptionsCheckRefusesAnEmptyChoiceAndPointsAtTheFirstBox) {
    form->pgcVerifica->SetActivePage(form->tshVerificar);
    EXPECT_EQ(refusalOf([&] { form->Vd_Opcoes(); }),
              u"Opção de restrição deve ser informada para cálculo."_s);
    EXPECT_EQ(form->pgcVerifica->ActivePage(), form->tshOpcoes);
    EXPECT_EQ(QApplication::focusWidget(), form->chbFreqPrat);

    // Any one box is enough, the last one tested included.
    form->chbRestPrat->SetChecked(true);
    EXPECT_NO_THROW(form->Vd_Opcoes());
}

TEST_F(OptionsTest, ABoxClickedByTheUserRaisesTheHandlerThroughTheBoundary) {
    form->pgcVerifica->SetActivePage(form->tshOpcoes);
    form->chbRestOpca->click();
    EXPECT_TRUE(form->tshRestOpcaMes->Shown());
    form->chbRestOpca->click();
    EXPECT_FALSE(form->tshRestOpcaMes->Shown());
}

} // namespace
