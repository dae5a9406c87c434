#include "module/Cli_kdr60251.h"
#include "module/TfrmAnalRestCont.h"

#include "analysis/Outcome.h"

#include "host/app/Dialogs.h"
#include "host/app/SetChildEnabled.h"
#include "host/app/ShowAviGuard.h"
#include "host/app/TApplication.h"
#include "host/context/OperatorContext.h"
#include "host/core/Consiste.h"
#include "host/db/ValidaFilial.h"
#include "host/edit/TBtnPesquisa.h"
#include "host/edit/TDateEditPlus.h"
#include "host/edit/TEdit.h"
#include "host/edit/TMaskEdit.h"
#include "host/grid/TDBGrid.h"

#include <QMainWindow>

using namespace Qt::StringLiterals;
using namespace host;

namespace {

// The dish codes shown laid out by the dish-code mask.
constexpr const char* kDishCodeFields[][2] = {
    {"cdsFreqPratMes", "CDPRATO"},    {"cdsFreqOpcaSem", "CDPRATO"}, {"cdsFreqOpcaMes", "CDPRATO"},
    {"cdsRestPratMes", "CDPRATO"},    {"cdsRestOpcaMes", "CDPRATO"}, {"cdsUtilPratSem", "CDPRATO"},
    {"cdsUtilPratSemDet", "CDPRATO"},
};

// The order in which calculation mode checks, and then disables, the option boxes.
constexpr const char* kCalcBoxes[] = {"chbFreqPrat",  "chbFreqOpca",   "chbUtilPrat",
                                      "chbLimPerSer", "chbLimPerPrat", "chbLimNutri",
                                      "chbRestPrat",  "chbRestOpca",   "chbRestProd"};

} // namespace

void TfrmAnalRestCont::PrimeiraAtivacao() {
    // An operator confined to his branch never gets an editable branch, also when a step below
    // fails before the lock is applied in its turn.
    if (ModuFili())
        for (TControl* control : {static_cast<TControl*>(lblFilial), static_cast<TControl*>(medCdFilial),
                                  static_cast<TControl*>(sbtFilial)})
            control->SetEnabled(false);

    {
        ShowAviGuard busy(Application().MainForm(), 0);
        netAnalRestCont.Connect();
    }

    if (EmptyString(stCdFilial)) {
        medCdFilial->SetText(FiliProc());
        edtNmFilial->SetText(NomeFiliProc());
    } else {
        medCdFilial->SetText(stCdFilial);
        qryFilial.Close();
        qryFilial.ParamByName(u"P_CDFILIAL"_s).SetAsString(medCdFilial->Text());
        qryFilial.ParamByName(u"P_TCDFILIAL"_s).Clear();
        qryFilial.Open();
        edtNmFilial->SetText(qryFilial.IsEmpty() ? QString()
                                                 : qryFilial.FieldByName(u"NMFILIAL"_s).AsString());
    }

    lblFilial->SetEnabled(!ModuFili());
    medCdFilial->SetEnabled(lblFilial->Enabled());
    sbtFilial->SetEnabled(lblFilial->Enabled());

    pgcVerifica->SetActivePage(tshOpcoes);
    pgcPadrao->SetActivePage(tshServicos);

    TField& dishCode = cdsFreqPratSem.FieldByName(u"CDPRATO"_s);
    dishCode.EditMask = DBPict(1);
    for (const auto& [set, field] : kDishCodeFields)
        FindRecordSet(QLatin1StringView(set))->FieldByName(QLatin1StringView(field)).EditMask =
            dishCode.EditMask;

    for (int i = 1; i < pgcPadrao->GetPageCount(); ++i) {
        pgcPadrao->GetPage(i)->SetTabVisible(false);
        pgcPadrao->GetPage(i)->SetVisible(false);
    }

    if (!EmptyString(medCdFilial->Text())) {
        // A branch the local database does not know has no processing date: the month stays as it is,
        // the name empty and, from the server, the service list empty.
        if (const std::optional<double> processing = FindDataProc(medCdFilial->Text()))
            depMes->SetDate(*processing);
        if (!EmptyString(stCdServico))
            depMes->SetDate(dtMesCard);
    }

    CarregaServicos(medCdFilial->Text());
    if (!EmptyString(stCdServico) && cdsServico.Locate(u"CDSERVFILI"_s, stCdServico, true)) {
        cdsServico.Edit();
        cdsServico.FieldByName(u"IDMARCADO"_s).SetAsString(u"S"_s);
        boApply = false;
        cdsServico.Post();
    }
    boApply = true;

    if (medCdFilial->Enabled())
        medCdFilial->SelectAll();

    if (!boCalcula) {
        RelDescontinuados();
        return;
    }

    for (const char* name : kCalcBoxes)
        FindOptionBox(QLatin1StringView(name))->SetChecked(true);
    for (const char* name : kCalcBoxes)
        FindOptionBox(QLatin1StringView(name))->SetEnabled(false);
    panFilial->SetEnabled(false);
    SetChildEnabled(*panFilial, false);
    panRestricoes->SetEnabled(false);
    dbgServico->SetEnabled(false);

    // The launch branch is held to what leaving the branch panel asks of a typed one: the operator may
    // work on it and its contract is live. Pressed by code: a refused check or a failed call ends the
    // activation here, before anything is written for the caller.
    ValidaFilial(medCdFilial->Text(), Operador(), true);
    sbtVerificarClick();
    WriteCallerOutcome(true);
    const auto first = analysis::firstInfringed([this](const analysis::OutcomeCategory& category) {
        return !FindRecordSet(QLatin1StringView(category.summarySet))->IsEmpty();
    });
    if (first) {
        pgcPadrao->SetActivePage(FindPage(QLatin1StringView(analysis::kOutcomeOrder[*first].page)));
        WriteCallerOutcome(false);
        pgcVerifica->SetActivePage(tshVerificar);
        msgPadrao->ShowMsg(u"restricoes"_s, TMsgDlgType::mtInformation, TMsgDlgButtons(TMsgDlgBtn::mbOK), 0);
        RelDescontinuados();
        return;
    }
    if (PboClose && *PboClose)
        PostClose();
    RelDescontinuados();
}
