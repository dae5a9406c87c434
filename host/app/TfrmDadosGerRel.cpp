#include "host/app/TfrmDadosGerRel.h"

#include "host/app/Dispatch.h"
#include "host/core/Refusal.h"

using namespace Qt::StringLiterals;

namespace host {

namespace {

[[noreturn]] void notYet(const QString& command) {
    throw Refusal(u"O comando de relatório \"%1\" ainda não está disponível nesta versão."_s.arg(command));
}

} // namespace

void TfrmDadosGerRel::BindMenu(QAction& action, std::function<void()> handler) {
    QObject::connect(&action, &QAction::triggered, &action,
                     [handler = std::move(handler)] { Dispatch(handler); });
}

TfrmDadosGerRel::TfrmDadosGerRel(QWidget* owner)
    : TForm(owner), cmbRelatorio(new QComboBox(this)), Reports(*cmbRelatorio) {
    panMenu = new TPanel(this, u"panMenu"_s);
    panMenu->resize(100, 32);
    panMenu->SetAlign(TAlign::alTop);
    lblCodRel = new TLabel(panMenu, u"lblCodRel"_s, u"KDR001"_s);
    lblCodRel->SetBounds(8, 8, 80, 16);
    panBotoes = new TPanel(panMenu, u"panBotoes"_s);
    panBotoes->setFrameStyle(QFrame::NoFrame);
    panBotoes->resize(200, 30);
    panBotoes->SetAlign(TAlign::alRight);
    sbtCancel = new TSpeedButton(panBotoes, u"sbtCancel"_s, u"Fechar"_s);
    sbtCancel->SetHint(u"Fechar"_s);
    sbtCancel->SetBounds(130, 2, 66, 26);

    panHelp = new TPanel(this, u"panHelp"_s);
    panHelp->resize(100, 20);
    panHelp->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panHelp->SetAlign(TAlign::alBottom);

    lblCodTela = new TLabel(this, u"lblCodTela"_s);
    lblCodTela->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblCodTela->resize(100, 16);
    lblCodTela->SetAlign(TAlign::alBottom);

    grbDadosRel = new TGroupBox(this, u"grbDadosRel"_s);
    grbDadosRel->SetAlign(TAlign::alClient);
    panRelat = new TPanel(grbDadosRel, u"panRelat"_s);
    panRelat->setFrameStyle(QFrame::NoFrame);
    panRelat->resize(100, 30);
    panRelat->SetAlign(TAlign::alBottom);
    bvlSeparator = new TBevel(grbDadosRel, u"bvlSeparator"_s);
    bvlSeparator->resize(100, 4);
    bvlSeparator->SetAlign(TAlign::alBottom);

    cmbRelatorio->setParent(panRelat);
    cmbRelatorio->show();
    cmbRelatorio->setObjectName(u"cmbRelatorio"_s);
    cmbRelatorio->setGeometry(4, 3, 220, 24);
    sbtPrint = new TSpeedButton(panRelat, u"sbtPrint"_s, u"Imprimir"_s);
    sbtPrint->SetBounds(228, 2, 64, 26);
    sbtPreview = new TSpeedButton(panRelat, u"sbtPreview"_s, u"Visualizar"_s);
    sbtPreview->SetBounds(294, 2, 70, 26);
    sbtSalvarComo = new TSpeedButton(panRelat, u"sbtSalvarComo"_s, u"Salvar como"_s);
    sbtSalvarComo->SetBounds(366, 2, 84, 26);
    sbtReportEdit = new TSpeedButton(panRelat, u"sbtReportEdit"_s, u"Editar"_s);
    sbtReportEdit->SetBounds(452, 2, 70, 26);

    msgPadrao = new TMessages(this, u"msgPadrao"_s);
    msgMensagens = new TMessages(this, u"msgMensagens"_s);

    ppmEditReport = new QMenu(this);
    ppmEditReport->setObjectName(u"ppmEditReport"_s);
    mnuNovoRel = ppmEditReport->addAction(u"Novo relatório"_s);
    mnuNovoRel->setObjectName(u"mnuNovoRel"_s);
    mnuEditRel = ppmEditReport->addAction(u"Editar relatório"_s);
    mnuEditRel->setObjectName(u"mnuEditRel"_s);
    mnuRelatPadr = ppmEditReport->addAction(u"Relatórios padrão"_s);
    mnuRelatPadr->setObjectName(u"mnuRelatPadr"_s);
    sbtReportEdit->setMenu(ppmEditReport);
    sbtReportEdit->setPopupMode(QToolButton::MenuButtonPopup);
    ppmSalvarRelatorio = new QMenu(this);
    ppmSalvarRelatorio->setObjectName(u"ppmSalvarRelatorio"_s);
    sbtSalvarComo->setMenu(ppmSalvarRelatorio);

    svdSaveReport = new TSaveDialog(this, u"svdSaveReport"_s);
    svdSaveReport->Title = u"Salvar relatório"_s;
    rpddPadrao = new QObject(this);
    rpddPadrao->setObjectName(u"rpddPadrao"_s);
    netQRDesign = new QObject(this);
    netQRDesign->setObjectName(u"netQRDesign"_s);

    OnCreate = [this] { FormCreate(); };
    OnActivate = [this] { FormActivate(); };
    OnClose = [this](TCloseAction& action) { FormClose(action); };
    sbtPrint->OnClick = [this] { sbtPrintClick(); };
    sbtPreview->OnClick = [this] { sbtPreviewClick(); };
    sbtSalvarComo->OnClick = [this] { sbtSalvarComoClick(); };
    sbtReportEdit->OnClick = [this] { sbtReportEditClick(); };
    sbtCancel->OnClick = [this] { sbtCancelClick(); };
    BindMenu(*mnuNovoRel, [this] { mnuNovoRelClick(); });
    BindMenu(*mnuEditRel, [this] { mnuEditRelClick(); });
    BindMenu(*mnuRelatPadr, [this] { mnuRelatPadrClick(); });
}

void TfrmDadosGerRel::FormCreate() {}

void TfrmDadosGerRel::FormActivate() {
    update();
}

void TfrmDadosGerRel::FormClose(TCloseAction& action) {
    action = TCloseAction::caFree;
}

void TfrmDadosGerRel::sbtPrintClick() {
    notYet(u"Imprimir"_s);
}

void TfrmDadosGerRel::sbtPreviewClick() {
    notYet(u"Visualizar"_s);
}

void TfrmDadosGerRel::sbtSalvarComoClick() {
    notYet(u"Salvar como"_s);
}

void TfrmDadosGerRel::sbtReportEditClick() {
    notYet(u"Editar relatório"_s);
}

void TfrmDadosGerRel::mnuNovoRelClick() {
    notYet(u"Novo relatório"_s);
}

void TfrmDadosGerRel::mnuEditRelClick() {
    notYet(u"Editar relatório"_s);
}

void TfrmDadosGerRel::mnuRelatPadrClick() {
    notYet(u"Relatórios padrão"_s);
}

void TfrmDadosGerRel::sbtCancelClick() {
    Close();
}

} // namespace host
