#include "module/TfrmAnalRestCont.h"

#include "module/Cli_kdr60251.h"
#include "module/MessageTable.h"

#include "host/context/OperatorContext.h"

using namespace Qt::StringLiterals;
using namespace host;

TfrmAnalRestCont::TfrmAnalRestCont(QWidget* owner) : TfrmDadosGerRel(owner) {
    setObjectName(u"frmAnalRestCont"_s);
    SetCaption(u"Análise de Restrições Contratuais"_s);
    SetBorderStyle(TBorderStyle::bsNone);
    SetBorderIcons(TBorderIcons(TBorderIcon::biSystemMenu) | TBorderIcon::biMinimize |
                   TBorderIcon::biMaximize);
    SetClientSize(579, 360);
    SetLeft(326);
    SetTop(152);

    lblCodTela->SetCaption(u"KDR60251"_s);
    msgPadrao->Messages = AnalRestContMessages();

    sbtVerificar = new TSpeedButton(panBotoes, u"sbtVerificar"_s, u"Verificar"_s);
    sbtVerificar->SetHint(u"Analisar Restrições Contratuais"_s);
    sbtVerificar->SetBounds(62, 2, 66, 26);

    panNavigator = new TPanel(this, u"panNavigator"_s);
    panNavigator->resize(100, 28);
    panNavigator->SetAlign(TAlign::alBottom);

    panVerifica = new TPanel(grbDadosRel, u"panVerifica"_s);
    panVerifica->setFrameStyle(QFrame::NoFrame);
    panVerifica->SetAlign(TAlign::alClient);

    netAnalRestCont.ServerName = u"KDR60251.rdmAnalRestCont"_s;

    // Each subsystem's components and bindings. The branch panel sits at the top of the options page
    // and the option boxes fill what is left, so the branch panel comes first; the bindings need
    // every component.
    createPages();
    createBranchPanel();
    createOptions();
    createServiceList();
    createResultGrids();
    createStatusLine();
    bindDisplay();
    bindAnalysis();
    bindReports();

    bindKeys();
    bindLifecycle();
}

void TfrmAnalRestCont::bindLifecycle() {
    OnCreate = [this] { FormCreate(); };
    OnActivate = [this] {
        FormActivate();
        // The activation's loads are over when it returns, and whoever waits for it (a calculation's
        // caller, a picture of the screen) reads the screen at once, before the refresh that the loads
        // scheduled for the next turn of the event loop.
        AtualizaSituacao();
    };
    OnClose = [this](TCloseAction& action) { FormClose(action); };
    netAnalRestCont.BeforeConnect = [this](TNetConnection& connection) {
        netAnalRestContBeforeConnect(connection);
    };
}

void TfrmAnalRestCont::FormCreate() {
    TfrmDadosGerRel::FormCreate();
    boPrimAtivacao = true;
    SetReloadFlags();
}

void TfrmAnalRestCont::FormActivate() {
    TfrmDadosGerRel::FormActivate();
    repaint();
    if (!boPrimAtivacao)
        return;
    // Cleared before the steps run: a first activation that fails is not tried again.
    boPrimAtivacao = false;
    PrimeiraAtivacao();
}

void TfrmAnalRestCont::FormClose(TCloseAction& action) {
    boIdCriado = false;
    netAnalRestCont.Disconnect();
    // The next launch creates a new form; nothing keeps pointing at this one.
    if (frmAnalRestCont == this)
        frmAnalRestCont = nullptr;
    TfrmDadosGerRel::FormClose(action);
}

void TfrmAnalRestCont::netAnalRestContBeforeConnect(TNetConnection& connection) {
    connection.Host = WebURL();
    connection.Port = WebPort();
    connection.TimeoutMs = ServerTimeoutMs();
}
