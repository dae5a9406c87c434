#pragma once

#include "host/app/TControls.h"
#include "host/app/TForm.h"
#include "host/app/TMessages.h"
#include "host/app/TReportLists.h"
#include "host/app/TSaveDialog.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>

namespace host {

// The base report form of the suite's screens: screen-code label, a group box holding the screen's
// own controls above the report panel, the menu panel with the report code and the button panel,
// the help line, the message tables, the report menus and the report lists. A derived screen binds
// its own handlers to the events; each of them calls the base handler of the same name first.
//
// The report commands themselves (designer, printing, preview, saving) are not in this form yet:
// their handlers refuse with a message saying so, and rpddPadrao and netQRDesign are placeholders
// that the report machinery will replace.
class TfrmDadosGerRel : public TForm {
    Q_OBJECT
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
    QObject* rpddPadrao;
    QObject* netQRDesign;

    // The reports offered: selector items, codes and definition paths, in step.
    TReportLists Reports;

    void FormCreate();
    void FormActivate();
    void FormClose(TCloseAction& action);
    void sbtPrintClick();
    void sbtPreviewClick();
    void sbtSalvarComoClick();
    void sbtReportEditClick();
    void mnuNovoRelClick();
    void mnuEditRelClick();
    void mnuRelatPadrClick();
    void sbtCancelClick();

    // Binds a menu command to a handler through the dispatch boundary.
    static void BindMenu(QAction& action, std::function<void()> handler);
};

} // namespace host
