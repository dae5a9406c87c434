#pragma once

#include "host/app/TfrmDadosGerRel.h"
#include "host/net/NetConnection.h"
#include "results/TResultRecords.h"

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

    void FormCreate();
    void FormActivate();
    void FormClose(host::TCloseAction& action);
    void netAnalRestContBeforeConnect(host::TNetConnection& connection);

    // True from creation until the first activation has begun.
    bool FirstActivationPending() const { return boPrimAtivacao; }

private:
    void bindLifecycle();
    // The first activation's steps: connecting, branch, month, services, result pages and the
    // calculation mode.
    void PrimeiraAtivacao();

    bool boPrimAtivacao = false;
};
