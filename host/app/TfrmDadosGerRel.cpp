#include "host/app/TfrmDadosGerRel.h"

#include "host/app/Dispatch.h"
#include "host/app/TApplication.h"
#include "host/context/OperatorContext.h"
#include "host/core/Refusal.h"
#include "host/format/Formatting.h"
#include "host/report/ReportDevices.h"
#include "host/report/ReportFolders.h"
#include "protocol/DateTime.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace host {

namespace {

// The message table's texts take their arguments as "%s", one after the other.
QString withArgs(QString text, const QStringList& args) {
    for (const QString& arg : args) {
        const qsizetype at = text.indexOf(u"%s"_s);
        if (at < 0)
            break;
        text.replace(at, 2, arg);
    }
    return text;
}

void writeCsv(const TReportTable& table, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(table.Csv()) < 0 || !file.commit())
        throw Refusal(u"Não foi possível gravar o relatório em '%1': %2"_s.arg(path, file.errorString()));
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
    // The report commands' own texts; a screen that sets its table brings them along.
    msgPadrao->Messages = {
        u"Arq_Rel_Err|O arquivo contendo a definição do Relatório de código '%s' não foi encontrado no diretório '%s'."_s,
        u"NovoCaption|Título do Relatório"_s,
        u"NovoPrompt|Informe o título do relatório:"_s,
    };
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
    svdSaveReport->Filter = u"Documento PDF (*.pdf);;Planilha CSV (*.csv)"_s;
    rpddPadrao = new TReportDesignDialog(this, u"rpddPadrao"_s);
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

void TfrmDadosGerRel::FormCreate() {
    CarregaRelatorios();
}

void TfrmDadosGerRel::FormActivate() {
    update();
}

void TfrmDadosGerRel::FormClose(TCloseAction& action) {
    action = TCloseAction::caFree;
}

void TfrmDadosGerRel::CarregaRelatorios() {
    Reports.Clear();
    for (const ReportFile& file : ListReportFiles(ReportsFolder(), lblCodTela->Caption()))
        Reports.Add(file.Title, file.Code, file.Path);
    cmbRelatorio->setCurrentIndex(Reports.Count() > 0 ? 0 : -1);
}

TReportDefinition TfrmDadosGerRel::RelatorioEscolhido() const {
    const int position = cmbRelatorio->currentIndex();
    if (position < 0 || position >= Reports.Count())
        throw Refusal(u"Escolha um relatório da lista."_s);
    const QString path = Reports.DefinitionPaths().at(position);
    if (!QFileInfo::exists(path))
        throw Refusal(withArgs(msgPadrao->Msg(u"Arq_Rel_Err"_s),
                               {Reports.Codes().at(position), QFileInfo(path).absolutePath()}));
    return TReportDefinition::Load(path);
}

QStringList TfrmDadosGerRel::ReportHeaderLines() const {
    QStringList lines = ReportSelection();
    lines << u"Operador: %1"_s.arg(Operador());
    const QDateTime now = QDateTime::currentDateTime();
    const proto::DateTime printed =
        proto::fromCivil({now.date().year(), now.date().month(), now.date().day(), now.time().hour(),
                          now.time().minute(), now.time().second()});
    lines << u"Impresso em: %1"_s.arg(DateTimeText(printed.days, QLocale()));
    return lines;
}

std::optional<TReportTable> TfrmDadosGerRel::runReport(const TReportDefinition& definition) {
    std::optional<TReportTable> table = rpddPadrao->Run(definition);
    if (table)
        table->HeaderLines = ReportHeaderLines();
    return table;
}

void TfrmDadosGerRel::sbtPrintClick() {
    if (const auto table = runReport(RelatorioEscolhido()))
        reportDevices().print(*table);
}

void TfrmDadosGerRel::sbtPreviewClick() {
    if (const auto table = runReport(RelatorioEscolhido()))
        reportDevices().preview(*table);
}

void TfrmDadosGerRel::sbtSalvarComoClick() {
    const TReportDefinition definition = RelatorioEscolhido();
    svdSaveReport->InitialDir = UserDocumentsFolder();
    svdSaveReport->FileName = QFileInfo(PrintFilePath({}, definition.Title)).fileName();
    if (!svdSaveReport->Execute())
        return;
    QString path = svdSaveReport->FileName;
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != u"csv"_s && suffix != u"pdf"_s)
        path += u".pdf"_s;
    const auto table = runReport(definition);
    if (!table)
        return;
    if (path.endsWith(u".csv"_s, Qt::CaseInsensitive))
        writeCsv(*table, path);
    else
        table->WritePdf(path);
    TellReportWritten({}, QFileInfo(path).absoluteFilePath());
}

void TfrmDadosGerRel::sbtReportEditClick() {
    const int position = cmbRelatorio->currentIndex();
    TReportDefinition definition = RelatorioEscolhido();
    if (!rpddPadrao->Design(definition))
        return;
    definition.Save(Reports.DefinitionPaths().at(position));
    // Only this entry changes: the rest of the lists stays as the screen left it.
    Reports.SetItem(position, definition.Title);
}

void TfrmDadosGerRel::mnuNovoRelClick() {
    const auto title = Application().dialogs().inputQuery(msgPadrao->Msg(u"NovoCaption"_s),
                                                          msgPadrao->Msg(u"NovoPrompt"_s), {});
    if (!title)
        return;
    if (title->trimmed().isEmpty())
        throw Refusal(u"O relatório deve ter um título."_s);
    const QString folder = ReportsFolder();
    const QString screen = lblCodTela->Caption();
    QStringList taken = Reports.Codes();
    for (const ReportFile& file : ListReportFiles(folder, screen))
        taken.append(file.Code);
    TReportDefinition definition{screen, NextReportCode(taken), title->trimmed(), {}, {}};
    if (!rpddPadrao->Design(definition))
        return;
    if (!QDir().mkpath(folder))
        throw Refusal(u"Não foi possível criar a pasta de relatórios '%1'."_s.arg(folder));
    const QString path = QDir(folder).absoluteFilePath(TReportDefinition::FileName(screen, definition.Code));
    definition.Save(path);
    Reports.Add(definition.Title, definition.Code, path);
    cmbRelatorio->setCurrentIndex(Reports.Count() - 1);
}

void TfrmDadosGerRel::mnuEditRelClick() {
    TfrmDadosGerRel::sbtReportEditClick();
}

void TfrmDadosGerRel::mnuRelatPadrClick() {
    const TModalResult answer = Application().dialogs().messageDlg(
        u"Os relatórios padrão desta tela serão restaurados e as alterações feitas neles, perdidas. Continuar?"_s,
        TMsgDlgType::mtConfirmation, TMsgDlgButtons(TMsgDlgBtn::mbYes) | TMsgDlgBtn::mbNo, 0);
    if (answer != mrYes)
        return;
    RestoreStandardReports(StandardReportsFolder(), ReportsFolder(), lblCodTela->Caption());
    CarregaRelatorios();
}

void TfrmDadosGerRel::sbtCancelClick() {
    Close();
}

} // namespace host
