#pragma once

#include "host/app/TShiftState.h"
#include "host/app/TfrmDadosGerRel.h"
#include "host/data/TDataSource.h"
#include "host/db/TADOIBQuery.h"
#include "host/net/NetConnection.h"
#include "results/TResultRecords.h"

#include <QRect>
#include <QString>

#include <map>

namespace host {
class TMaskEdit;
class TEdit;
class TDateEditPlus;
class TBtnPesquisa;
class TDBGrid;
class TColumn;
struct TGridDrawState;
class TImage;
class TDBNavigator;
class TDBText;
} // namespace host

namespace results {
struct RestrictionCategory;
}

// The contract-restriction analysis screen. One class: this header holds every component, and each
// subsystem defines its handlers in its own folder (selection/, analysis/, results/, display/,
// reports/) and binds them in one place of its own, called from the constructor. The lifecycle
// handlers live here, in module/.
class TfrmAnalRestCont : public host::TfrmDadosGerRel, public TResultRecords {
    Q_OBJECT
public:
    explicit TfrmAnalRestCont(QWidget* owner);

    // Server connection to the remote data module of this screen.
    host::TNetConnection netAnalRestCont;

    host::TSpeedButton* sbtVerificar;
    // Along the bottom: the service list's record navigator goes here.
    host::TPanel* panNavigator;
    // Inside grbDadosRel, the area the outer page control pgcVerifica fills.
    host::TPanel* panVerifica;

    // ---- Pages (selection/) ----
    host::TPageControl* pgcVerifica = nullptr;
    host::TTabSheet* tshOpcoes = nullptr;
    host::TTabSheet* tshVerificar = nullptr;
    host::TPageControl* pgcPadrao = nullptr;
    host::TTabSheet* tshServicos = nullptr;
    host::TTabSheet* tshFreqPratSem = nullptr;
    host::TTabSheet* tshFreqPratMes = nullptr;
    host::TTabSheet* tshFreqOpcaSem = nullptr;
    host::TTabSheet* tshFreqOpcaMes = nullptr;
    host::TTabSheet* tshRestPratMes = nullptr;
    host::TTabSheet* tshRestOpcaMes = nullptr;
    host::TTabSheet* tshUtilPratSem = nullptr;
    host::TTabSheet* tshLimNutri = nullptr;
    host::TTabSheet* tshLimPerPrat = nullptr;
    host::TTabSheet* tshLimPerSer = nullptr;
    host::TTabSheet* tshRestProd = nullptr;
    // nullptr for a name the screen does not have.
    host::TTabSheet* FindPage(const QString& name) const;

    // ---- Branch and month (selection/) ----
    host::TPanel* panFilial = nullptr;
    host::TLabel* lblFilial = nullptr;
    host::TMaskEdit* medCdFilial = nullptr;
    host::TBtnPesquisa* sbtFilial = nullptr;
    host::TEdit* edtNmFilial = nullptr;
    host::TLabel* Label3 = nullptr;
    host::TDateEditPlus* depMes = nullptr;
    host::TADOIBQuery qryFilial{QStringLiteral("qryFilial")};
    host::TDataSource dtsFilial__;

    void medCdFilialEnter();
    void medCdFilialChange();
    void medCdFilialExit();
    void sbtFilialBeforePesq(QObject* sender, bool& proceed);
    void sbtFilialAfterPesq(QObject* sender);
    void panFilialExit();
    void depMesExit();
    void depMesChange();
    void Vd_Mes(bool check);

    // The one load of the service list for a branch: replaces cdsServico whole and remembers the
    // branch; a failed load empties it. Either way the reload flags are set.
    void CarregaServicos(const QString& cdFilial);
    // The branch whose services cdsServico holds; empty when none is loaded.
    QString stCdFilialServ;
    // Loads the list for the branch on screen when the list belongs to another branch.
    void ConfereServicosFilial();
    // The branch check of the page change and the report buttons: the code normalised and written
    // back, validated (with the rescinded check when asked), its name shown, the service list made
    // the branch's; on failure the focus goes back to the code edit.
    void ConfereFilial(bool checkRescinded);
    // After the code edit's own exit: a branch whose contract was rescinded is refused at once, as
    // the panel's exit would refuse it later, with the focus back on the code.
    void ConfereRescisao();

    // ---- Service list (selection/) ----
    host::TDBGrid* dbgServico = nullptr;
    host::TImage* imgCheck = nullptr;
    host::TImage* imgUncheck = nullptr;
    host::TDBNavigator* dbnPadrao = nullptr;
    host::TDBText* dbtNome = nullptr;

    void dbgServicoCellClick(host::TColumn& column);
    void dbgServicoKeyDown(QObject* sender, int& key, host::TShiftState shift);
    void dbgServicoTitleClick(host::TColumn& column);
    void dbgServicoDrawColumnCell(host::TDBGrid& sender, const QRect& rect, int dataCol,
                                  host::TColumn& column, const host::TGridDrawState& state);
    void cdsServicoAfterScroll(host::TClientDataSet& dataSet);
    void MontaListaServ();
    void Vd_Serv();

    // ---- Options (selection/) ----
    host::TPanel* panRestricoes = nullptr;
    host::TCheckBox* chbFreqPrat = nullptr;
    host::TCheckBox* chbFreqOpca = nullptr;
    host::TCheckBox* chbUtilPrat = nullptr;
    host::TCheckBox* chbLimPerSer = nullptr;
    host::TCheckBox* chbLimPerPrat = nullptr;
    host::TCheckBox* chbLimNutri = nullptr;
    host::TCheckBox* chbRestPrat = nullptr;
    host::TCheckBox* chbRestOpca = nullptr;
    host::TCheckBox* chbRestProd = nullptr;
    // nullptr for a name the screen does not have.
    host::TCheckBox* FindOptionBox(const QString& name) const;

    void chbFreqPratClick();
    void Habilita();
    void Vd_Opcoes();

    // ---- Analysis (analysis/) ----
    void sbtVerificarClick();
    void Calcula();
    // The after-scroll handler of every summary set: the current row's detail.
    void CarregaDetalhe(const results::RestrictionCategory& category);
    // The steps the analysis run, the result pages and the report parameters share.
    // Whether the current row of cdsServico is marked (false for an empty list).
    bool ServicoAtualMarcado() const;
    // GetDataSemana for the month of depMes, loaded into cdsDataSemana; no busy indicator.
    void CarregaDataSemana();
    // Empties the category's summary and detail sets when they are open.
    void EsvaziaCategoria(const results::RestrictionCategory& category);
    // The summary method for the branch on screen, the current service and the category's span,
    // loaded into the summary set (which loads the first row's detail); clears the reload flag.
    void CarregaResumo(const results::RestrictionCategory& category);
    // The entry operation of a result page: reloads its summary when it is out of date.
    void EntraPaginaResultado(const results::RestrictionCategory& category);

    // ---- Result pages (results/) ----
    // The 22 result grids by name.
    std::map<QString, host::TDBGrid*> ResultGrids;
    host::TDBGrid* FindGrid(const QString& name) const;
    void pgcVerificaChanging(host::TPageControl& sender, bool& allowChange);
    void pgcVerificaChange(host::TPageControl& sender);
    // The key handler of every result grid.
    void dbgFreqPratSemKeyDown(QObject* sender, int& key, host::TShiftState shift);

    // ---- Outcome at a glance (results/) ----
    // Along the bottom, above the navigator: what the analysis found for the current service.
    host::TPanel* panSituacao = nullptr;
    host::TLabel* lblSituacao = nullptr;
    // The status line and the icons of the result tabs, once the operation under way has settled
    // its reload flags: on the next turn of the event loop with no busy indicator up.
    void AgendaSituacao();
    void AtualizaSituacao();

    // ---- Display (display/) ----
    // The drawing event of the weekly dish-use grid, also attached to four other summary grids.
    void dbgUtilPratSemDrawColumnCell(host::TDBGrid& sender, const QRect& rect, int dataCol,
                                      host::TColumn& column, const host::TGridDrawState& state);

    // ---- Reports (reports/) ----
    // Print, preview and save as check the month, the branch, the month's entry and the marked
    // services before the base form runs the report; edit checks the month's entry only.
    void sbtPrintClick() override;
    void sbtPreviewClick() override;
    void sbtSalvarComoClick() override;
    void sbtReportEditClick() override;
    // The base command, then the discontinued reports removed again.
    void mnuNovoRelClick() override;
    void mnuEditRelClick() override;
    void mnuRelatPadrClick() override;
    // Branch, marked services, month span and week span for the parameters the query declares.
    void rpddPadraoBeforeGetQueryParams(host::TReportParams& params, bool& proceed);
    void RelDescontinuados();
    // Branch, marked services and month, for the header of the report's pages.
    QStringList ReportSelection() const override;

    // The form's keys beside the grids' own: verify, close, print, preview and the page row.
    void bindKeys();
    // One step along the row of pages (options, services, result tabs), through the page change's veto.
    void PercorrePaginas(int step);

    void FormCreate();
    void FormActivate();
    void FormClose(host::TCloseAction& action);
    void netAnalRestContBeforeConnect(host::TNetConnection& connection);

    // True from creation until the first activation has begun.
    bool FirstActivationPending() const { return boPrimAtivacao; }

private:
    void bindLifecycle();
    // Each subsystem's components and bindings, created in this order by the constructor.
    void createPages();
    void createBranchPanel();
    void createOptions();
    void createServiceList();
    void createResultGrids();
    void createStatusLine();
    void bindDisplay();
    void bindAnalysis();
    void bindReports();
    // The first activation's steps: connecting, branch and month, services, result pages and the
    // calculation mode.
    void PrimeiraAtivacao();

    bool boPrimAtivacao = false;
    bool situacaoAgendada_ = false;
};
