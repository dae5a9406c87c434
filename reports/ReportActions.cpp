#include "module/TfrmAnalRestCont.h"

#include "host/edit/TDateEditPlus.h"

using namespace host;

namespace {

// The checks before a report is printed, previewed or saved, in their order. Neither the restriction
// options nor an analysis run are needed for a report.
void confereSelecao(TfrmAnalRestCont& form) {
    form.depMes->CheckValidDate();
    // Validated with the rescinded check, and the service list made the branch's, so the services
    // marked are the ones of the branch the report names.
    form.ConfereFilial(true);
    form.Vd_Mes(true);
    form.MontaListaServ();
    form.Vd_Serv();
}

} // namespace

void TfrmAnalRestCont::sbtPrintClick() {
    confereSelecao(*this);
    TfrmDadosGerRel::sbtPrintClick();
}

void TfrmAnalRestCont::sbtPreviewClick() {
    confereSelecao(*this);
    TfrmDadosGerRel::sbtPreviewClick();
}

void TfrmAnalRestCont::sbtSalvarComoClick() {
    confereSelecao(*this);
    TfrmDadosGerRel::sbtSalvarComoClick();
}

void TfrmAnalRestCont::sbtReportEditClick() {
    depMes->CheckValidDate();
    TfrmDadosGerRel::sbtReportEditClick();
}

// Whatever the command did to the lists, the discontinued reports leave them again.
void TfrmAnalRestCont::mnuNovoRelClick() {
    TfrmDadosGerRel::mnuNovoRelClick();
    RelDescontinuados();
}

void TfrmAnalRestCont::mnuEditRelClick() {
    TfrmDadosGerRel::mnuEditRelClick();
    RelDescontinuados();
}

void TfrmAnalRestCont::mnuRelatPadrClick() {
    TfrmDadosGerRel::mnuRelatPadrClick();
    RelDescontinuados();
}

void TfrmAnalRestCont::bindReports() {
    // The buttons and the popup commands of the base form call the report handlers virtually: the
    // screen's versions above run from them. Only the designer's parameter event is bound here.
    rpddPadrao->BeforeGetQueryParams = [this](TReportParams& params, bool& proceed) {
        rpddPadraoBeforeGetQueryParams(params, proceed);
    };
}
