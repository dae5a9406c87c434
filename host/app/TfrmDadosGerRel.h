#pragma once

#include "host/app/TControls.h"
#include "host/app/TForm.h"
#include "host/app/TMessages.h"
#include "host/app/TReportLists.h"
#include "host/app/TSaveDialog.h"
#include "host/report/TReportDefinition.h"
#include "host/report/TReportDesignDialog.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>

#include <optional>

namespace host {

// The base report form of the suite's screens: screen-code label, a group box holding the screen's
// own controls above the report panel, the menu panel with the report code and the button panel,
// the help line, the message tables, the report menus and the report lists. A derived screen binds
// its own handlers to the events; each of them calls the base handler of the same name first.
//
// The reports offered are the definition files of the screen (the caption of lblCodTela) in the
// reports folder, listed when the form is created. The report commands are virtual: the buttons and
// the popup commands call the screen's versions, which check the screen's selection and then call
// these. The reports' queries run on the host's general database, so netQRDesign connects nothing.
class TfrmDadosGerRel : public TForm {
    Q_OBJECT
    // The chosen report run, its pages headed by ReportHeaderLines.
    std::optional<TReportTable> runReport(const TReportDefinition& definition);

public:
    explicit TfrmDadosGerRel(QWidget* owner);

    TLabel* lblCodTela;
    TGroupBox* grbDadosRel;
    TBevel* bvlSeparator;
    TPanel* panRelat;
    QComboBox* cmbRelatorio;
    TSpeedButton* sbtPrint;
    TSpeedButton* sbtPreview;
    TSpeedButton* sbtSalvarComo;
    TSpeedButton* sbtReportEdit;
    TPanel* panMenu;
    TLabel* lblCodRel;
    TPanel* panBotoes;
    TSpeedButton* sbtCancel;
    TPanel* panHelp;
    TMessages* msgPadrao;
    TMessages* msgMensagens;
    QMenu* ppmEditReport;
    QAction* mnuNovoRel;
    QAction* mnuEditRel;
    QAction* mnuRelatPadr;
    QMenu* ppmSalvarRelatorio;
    TSaveDialog* svdSaveReport;
    TReportDesignDialog* rpddPadrao;
    QObject* netQRDesign;

    // The reports offered: selector items, codes and definition paths, in step.
    TReportLists Reports;

    void FormCreate();
    void FormActivate();
    void FormClose(TCloseAction& action);
    // Print, preview or save the chosen report.
    virtual void sbtPrintClick();
    virtual void sbtPreviewClick();
    virtual void sbtSalvarComoClick();
    // Opens the designer on the chosen report and saves what the user changed.
    virtual void sbtReportEditClick();
    // Asks a title, opens the designer on a new report and, once saved, offers it.
    virtual void mnuNovoRelClick();
    virtual void mnuEditRelClick();
    // Puts the shipped definitions back over the screen's reports and lists them all again.
    virtual void mnuRelatPadrClick();
    void sbtCancelClick();

    // Fills the three report lists from the reports folder for the screen on lblCodTela.
    void CarregaRelatorios();
    // The definition of the report chosen in the selector. Refused when none is chosen or its file
    // is gone (message Arq_Rel_Err of msgPadrao, with the code and the folder).
    TReportDefinition RelatorioEscolhido() const;

    // The lines every page of a report carries under its title: the screen's selection (from
    // ReportSelection), the operator and the moment it was printed.
    QStringList ReportHeaderLines() const;
    // What the screen's reports were asked for, one line each; none in the base form.
    virtual QStringList ReportSelection() const { return {}; }

    // Binds a menu command to a handler through the dispatch boundary.
    static void BindMenu(QAction& action, std::function<void()> handler);
};

} // namespace host
