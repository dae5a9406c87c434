#include "GuiTestSupport.h"

#include "host/app/TApplication.h"
#include "host/app/TfrmDadosGerRel.h"
#include "host/core/Refusal.h"

#include <QMainWindow>
#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace host;

namespace {

class BaseReportForm : public ::testing::Test {
protected:
    void SetUp() override {
        Application().MainForm()->show();
        form = Application().CreateForm<TfrmDadosGerRel>();
    }
    GuiDialogSeam seam;
    QPointer<TfrmDadosGerRel> form;
};

} // namespace

TEST_F(BaseReportForm, HoldsTheComponentsWhereTheScreensExpectThem) {
    EXPECT_EQ(form->lblCodRel->Caption(), u"KDR001"_s);
    EXPECT_EQ(form->lblCodRel->Parent(), form->panMenu);
    EXPECT_EQ(form->panBotoes->Parent(), form->panMenu);
    EXPECT_EQ(form->sbtCancel->Parent(), form->panBotoes);
    EXPECT_EQ(form->bvlSeparator->Parent(), form->grbDadosRel);
    EXPECT_EQ(form->panRelat->Parent(), form->grbDadosRel);
    EXPECT_EQ(form->cmbRelatorio->parent(), form->panRelat);
    EXPECT_EQ(form->lblCodTela->Parent(), form.data());
    EXPECT_EQ(form->panHelp->Parent(), form.data());
    EXPECT_EQ(form->msgPadrao->objectName(), u"msgPadrao"_s);
    EXPECT_EQ(form->msgMensagens->objectName(), u"msgMensagens"_s);
    EXPECT_EQ(form->ppmEditReport->actions(),
              (QList<QAction*>{form->mnuNovoRel, form->mnuEditRel, form->mnuRelatPadr}));
    for (const QString& name :
         {u"rpddPadrao"_s, u"netQRDesign"_s, u"svdSaveReport"_s, u"ppmSalvarRelatorio"_s})
        EXPECT_NE(form->findChild<QObject*>(name), nullptr) << name.toStdString();
}

TEST_F(BaseReportForm, ItsCloseActionFreesTheWindow) {
    TCloseAction action = TCloseAction::caHide;
    form->FormClose(action);
    EXPECT_EQ(action, TCloseAction::caFree);
    form->Show();
    form->sbtCancel->Click();
    GuiDrain();
    EXPECT_TRUE(form.isNull());
}

TEST_F(BaseReportForm, WithNoReportToChooseTheReportCommandsSaySoInsteadOfPretending) {
    struct Case {
        const char* name;
        std::function<void()> handler;
    };
    const Case cases[] = {
        {"print", [&] { form->sbtPrintClick(); }},      {"preview", [&] { form->sbtPreviewClick(); }},
        {"save", [&] { form->sbtSalvarComoClick(); }},  {"edit", [&] { form->sbtReportEditClick(); }},
        {"editMenu", [&] { form->mnuEditRelClick(); }},
    };
    ASSERT_EQ(form->Reports.Count(), 0);
    for (const Case& c : cases) {
        try {
            c.handler();
            ADD_FAILURE() << c.name << " claimed to work";
        } catch (const Refusal& refusal) {
            EXPECT_TRUE(refusal.message().contains(u"Escolha um relatório"_s)) << c.name;
        }
    }
    // Asked and not answered: nothing is created or restored.
    form->mnuNovoRelClick();
    form->mnuRelatPadrClick();
    EXPECT_EQ(seam.recorder().inputPrompts, (QStringList{u"Informe o título do relatório:"_s}));
    EXPECT_EQ(form->Reports.Count(), 0);
}

TEST_F(BaseReportForm, UserCommandsReachTheErrorDisplayThroughTheBoundary) {
    form->Show();
    QTest::mouseClick(form->sbtPrint, Qt::LeftButton);
    form->mnuEditRel->trigger();
    ASSERT_EQ(seam.recorder().errors.size(), 2);
    EXPECT_TRUE(seam.recorder().errors[0].contains(u"Escolha um relatório"_s));
    EXPECT_TRUE(seam.recorder().errors[1].contains(u"Escolha um relatório"_s));
}

TEST_F(BaseReportForm, TheSaveDialogAsksThroughTheSeam) {
    form->svdSaveReport->InitialDir = u"/tmp/relatorios"_s;
    EXPECT_FALSE(form->svdSaveReport->Execute());
    seam.recorder().saveAnswer = u"/tmp/relatorios/r.pdf"_s;
    EXPECT_TRUE(form->svdSaveReport->Execute());
    EXPECT_EQ(form->svdSaveReport->FileName, u"/tmp/relatorios/r.pdf"_s);
    EXPECT_EQ(seam.recorder().saveTitles, (QStringList{u"Salvar relatório"_s, u"Salvar relatório"_s}));
}
