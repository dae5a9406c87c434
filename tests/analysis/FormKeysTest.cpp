#include "ScreenFixture.h"

#include "host/app/TApplication.h"
#include "host/app/TPageControl.h"
#include "host/app/TSpeedButton.h"
#include "host/app/TTabSheet.h"
#include "host/edit/TMaskEdit.h"
#include "host/grid/TDBGrid.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace host;

namespace {

class FormKeys : public AnalysisScreenTest {
protected:
    // The keys reach whatever has the focus inside the form, as the user's keyboard would.
    void press(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QApplication::setActiveWindow(form->window());
        target->setFocus();
        QTest::keyClick(target, key, modifiers);
        GuiDrain();
    }
    QString pages() const {
        return form->pgcVerifica->ActivePage()->Name() + u'/' + form->pgcPadrao->ActivePage()->Name();
    }
};

struct VerifyKey {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
};

class VerifyKeys : public FormKeys, public ::testing::WithParamInterface<VerifyKey> {};

TEST_P(VerifyKeys, PressVerifyFromTheServicesGrid) {
    form = launch(u""_s, u"0001"_s, u"004"_s, day(2026, 3, 1));
    ASSERT_NE(form, nullptr);
    checkOnly(form->chbLimNutri);
    methodsCalled();
    press(form->dbgServico, GetParam().key, GetParam().modifiers);
    EXPECT_TRUE(seam.recorder().errors.isEmpty()) << seam.recorder().lastError().toStdString();
    EXPECT_TRUE(methodsCalled().contains(u"GetLimNutri"_s));
    EXPECT_FALSE(boLimNutri);
}

INSTANTIATE_TEST_SUITE_P(Keys, VerifyKeys,
                         ::testing::Values(VerifyKey{"F5", Qt::Key_F5, Qt::NoModifier},
                                           VerifyKey{"CtrlReturn", Qt::Key_Return, Qt::ControlModifier},
                                           VerifyKey{"CtrlKeypadEnter", Qt::Key_Enter,
                                                     Qt::ControlModifier | Qt::KeypadModifier}),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(FormKeys, VerifyByKeyGoesThroughTheChecksLikeAClick) {
    form = launch(u""_s, u"0001"_s, u""_s, day(2026, 3, 1));
    ASSERT_NE(form, nullptr);
    checkOnly(form->chbLimNutri);
    methodsCalled();
    press(form->dbgServico, Qt::Key_F5);
    EXPECT_EQ(seam.recorder().lastError(), u"Serviço deve ser selecionado."_s);
    EXPECT_TRUE(methodsCalled().isEmpty());
}

TEST_F(FormKeys, EscapeClosesTheScreen) {
    form = launch(u""_s, u"0001"_s, u"004"_s, day(2026, 3, 1));
    ASSERT_NE(form, nullptr);
    press(form->dbgServico, Qt::Key_Escape);
    EXPECT_EQ(frmAnalRestCont, nullptr);
    EXPECT_FALSE(boIdCriado);
    form = nullptr;
}

TEST_F(FormKeys, CtrlTabWalksThePageRowBothWaysAndTheBranchCheckStillVetoes) {
    form = launch(u""_s, u"0001"_s, u"004"_s, day(2026, 3, 1));
    ASSERT_NE(form, nullptr);
    checkOnly(form->chbRestProd);
    form->chbLimNutri->SetChecked(true);
    form->pgcVerifica->SetActivePage(form->tshOpcoes);
    form->pgcPadrao->SetActivePage(form->tshServicos);

    press(form->medCdFilial, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(pages(), u"tshVerificar/tshServicos"_s);
    // Entering a result tab by key loads it as a click on the tab would.
    methodsCalled();
    press(form->dbgServico, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(pages(), u"tshVerificar/tshLimNutri"_s);
    EXPECT_TRUE(methodsCalled().contains(u"GetLimNutri"_s));
    press(form->dbgServico, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(pages(), u"tshVerificar/tshRestProd"_s);
    press(form->dbgServico, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(pages(), u"tshOpcoes/tshRestProd"_s) << "past the last tab comes the options page";
    press(form->medCdFilial, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(pages(), u"tshVerificar/tshRestProd"_s) << "backwards from the options: the last tab";
    press(form->dbgServico, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(pages(), u"tshVerificar/tshLimNutri"_s);
    EXPECT_TRUE(seam.recorder().errors.isEmpty()) << seam.recorder().lastError().toStdString();

    // Leaving the options with a branch that does not exist is refused as a click would be.
    form->pgcVerifica->SetActivePage(form->tshOpcoes);
    form->medCdFilial->SetText(u"9999"_s);
    press(form->medCdFilial, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(form->pgcVerifica->ActivePage(), form->tshOpcoes);
    EXPECT_FALSE(seam.recorder().errors.isEmpty());
}

TEST_F(FormKeys, TheSpaceKeyStillMarksOnlyInTheMarkColumnAndCtrlDeleteDeletesNothing) {
    form = launch(u""_s, u"0001"_s, u"004"_s, day(2026, 3, 1));
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(form->cdsServico.Locate(u"CDSERVFILI"_s, u"003"_s));
    const int rows = form->cdsServico.RecordCount();
    press(form->dbgServico, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(form->cdsServico.RecordCount(), rows);
    EXPECT_EQ(form->cdsServico.FieldByName(u"IDMARCADO"_s).AsString(), u"N"_s);
}

TEST_F(FormKeys, TheHelpMenuListsTheScreensKeys) {
    form = launch(u""_s, u"0001"_s, u"004"_s, day(2026, 3, 1));
    ASSERT_NE(form, nullptr);
    auto* action = Application().MainForm()->findChild<QAction*>(u"mnuAtalhos"_s);
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->text(), u"Atalhos do teclado"_s);
    action->trigger();
    ASSERT_FALSE(seam.recorder().messages.empty());
    const QString text = seam.recorder().messages.back().text;
    for (const QString& expected :
         {u"Análise de Restrições Contratuais"_s, u"F5 ou Ctrl+Enter"_s, u"Ctrl+Tab / Ctrl+Shift+Tab"_s,
          u"Ctrl+P"_s, u"Ctrl+Shift+P"_s, u"Esc"_s, u"Espaço"_s, u"Ctrl+Delete"_s})
        EXPECT_TRUE(text.contains(expected)) << expected.toStdString() << "\n" << text.toStdString();
    form->Close();
    GuiDrain();
    form = nullptr;
    action->trigger();
    EXPECT_EQ(seam.recorder().messages.back().text, u"Nenhuma tela aberta tem atalhos de teclado."_s);
}

} // namespace
