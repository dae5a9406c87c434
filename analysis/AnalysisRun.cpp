#include "module/Cli_kdr60251.h"
#include "module/TfrmAnalRestCont.h"

#include "analysis/ServerInterface.h"
#include "host/app/ShowAviGuard.h"
#include "host/app/TApplication.h"
#include "host/core/Refusal.h"
#include "host/edit/TDateEditPlus.h"
#include "host/edit/TMaskEdit.h"
#include "results/RestrictionCategories.h"

#include <QMainWindow>

using namespace Qt::StringLiterals;
using namespace host;
using results::Pattern;
using results::RestrictionCategory;
using results::Span;

void TfrmAnalRestCont::bindAnalysis() {
    sbtVerificar->OnClick = [this] { sbtVerificarClick(); };
    for (const RestrictionCategory& category : results::restrictionCategories())
        FindRecordSet(QLatin1StringView(category.summarySet))->AfterScroll =
            [this, &category](TClientDataSet&) { CarregaDetalhe(category); };
}

void TfrmAnalRestCont::sbtVerificarClick() {
    Vd_Mes(true);
    Vd_Opcoes();
    MontaListaServ();
    Vd_Serv();
    SetReloadFlags();
    Calcula();
}

bool TfrmAnalRestCont::ServicoAtualMarcado() const {
    return !cdsServico.IsEmpty() && cdsServico.FieldByName(u"IDMARCADO"_s).AsString() == u"S"_s;
}

void TfrmAnalRestCont::Calcula() {
    ShowAviGuard busy(Application().MainForm(), 6, msgPadrao->Msg(u"get_Restricoes"_s));
    const bool marked = ServicoAtualMarcado();
    bool anyBox = false;
    for (const RestrictionCategory& category : results::restrictionCategories())
        anyBox = anyBox || FindOptionBox(QLatin1StringView(category.optionBox))->Checked();

    if (boDataSemana && anyBox && marked) {
        CarregaDataSemana();
        boDataSemana = false;
    }
    for (const RestrictionCategory& category : results::restrictionCategories()) {
        const bool wanted = FindOptionBox(QLatin1StringView(category.optionBox))->Checked() && marked;
        // A category of a box that is off keeps its rows in the first pattern and is emptied in
        // the second; either way its flag stays set.
        if (category.pattern == Pattern::A && !wanted)
            continue;
        if (!*category.reloadFlag)
            continue;
        EsvaziaCategoria(category);
        if (wanted)
            CarregaResumo(category);
    }
}

void TfrmAnalRestCont::CarregaDataSemana() {
    analysis::CallServerMethod(
        netAnalRestCont, u"GetDataSemana"_s,
        {analysis::dateArg(depMes->GetPrimDia()), analysis::dateArg(depMes->GetUltDia())}, cdsDataSemana);
}

void TfrmAnalRestCont::EsvaziaCategoria(const RestrictionCategory& category) {
    for (const char* name : {category.summarySet, category.detailSet}) {
        TClientDataSet* set = FindRecordSet(QLatin1StringView(name));
        if (set->State() == TDataSetState::dsBrowse)
            set->EmptyDataSet();
    }
}

void TfrmAnalRestCont::CarregaResumo(const RestrictionCategory& category) {
    double first = 0;
    double last = 0;
    if (category.span == Span::Week) {
        // Without a week row the call would judge the menus of no week at all and read as clear.
        if (cdsDataSemana.IsEmpty())
            throw Refusal(
                u"O servidor não informou o período semanal do mês; a análise não pôde ser feita."_s);
        first = cdsDataSemana.FieldByName(u"DTPRIMEIRA"_s).AsDateTime();
        last = cdsDataSemana.FieldByName(u"DTULTIMA"_s).AsDateTime();
    } else {
        first = depMes->GetPrimDia();
        last = depMes->GetUltDia();
    }
    analysis::CallServerMethod(netAnalRestCont, QLatin1StringView(category.summaryMethod),
                               {medCdFilial->Text(), cdsServico.FieldByName(u"CDSERVFILI"_s).AsString(),
                                analysis::dateArg(first), analysis::dateArg(last)},
                               *FindRecordSet(QLatin1StringView(category.summarySet)));
    *category.reloadFlag = false;
}
