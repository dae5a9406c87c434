#include "module/TfrmAnalRestCont.h"

#include "host/app/TColors.h"
#include "host/app/TLabel.h"
#include "host/app/TPanel.h"
#include "host/app/TTabSheet.h"
#include "host/edit/TBtnPesquisa.h"
#include "host/edit/TDateEditPlus.h"
#include "host/edit/TEdit.h"
#include "host/edit/TMaskEdit.h"

using namespace Qt::StringLiterals;
using namespace host;

namespace {

// The branch query lists every branch (P_TCDFILIAL "T") or the one named by P_CDFILIAL. The same
// statement serves every dialect; the dialect copies carry one more empty line.
const QString kFilialSql = u"SELECT\n"
                           "   CDFILIAL,\n"
                           "   NMFILIAL\n"
                           "FROM\n"
                           "   FILIAL\n"
                           "WHERE\n"
                           "   (CDFILIAL = :P_CDFILIAL OR :P_TCDFILIAL = 'T')\n"
                           "ORDER BY\n"
                           "   CDFILIAL\n"_s;

} // namespace

void TfrmAnalRestCont::createBranchPanel() {
    panFilial = new TPanel(tshOpcoes, u"panFilial"_s);
    panFilial->resize(100, 49);
    panFilial->SetAlign(TAlign::alTop);

    lblFilial = new TLabel(panFilial, u"lblFilial"_s, u"Filial"_s);
    lblFilial->SetBounds(8, 6, 40, 13);

    medCdFilial = new TMaskEdit(panFilial, u"medCdFilial"_s);
    medCdFilial->SetEditMask(u">aaaa;0; "_s);
    medCdFilial->SetMaxLength(4);
    medCdFilial->SetColor(clInfoBk());
    medCdFilial->SetBounds(8, 21, 41, 21);

    sbtFilial = new TBtnPesquisa(panFilial, u"sbtFilial"_s);
    sbtFilial->SetHint(u"Pesquisar"_s);
    sbtFilial->Title = u"Filial"_s;
    sbtFilial->Associate = medCdFilial;
    sbtFilial->EmptyError = u"Não há filial cadastrada."_s;
    sbtFilial->SetBounds(50, 21, 21, 21);

    edtNmFilial = new TEdit(panFilial, u"edtNmFilial"_s);
    edtNmFilial->SetReadOnly(true);
    edtNmFilial->SetEnabled(false);
    edtNmFilial->SetTabStop(false);
    edtNmFilial->SetColor(clBtnFace());
    edtNmFilial->SetBounds(73, 21, 300, 21);

    Label3 = new TLabel(panFilial, u"Label3"_s, u"Mês"_s);
    Label3->SetBounds(381, 6, 30, 13);

    depMes = new TDateEditPlus(panFilial, u"depMes"_s);
    depMes->SetShowDia(false);
    depMes->SetEditStyle(TDateEditStyle::desUpDown);
    depMes->SaveTime = false;
    depMes->SetValidDateColor(clBlue());
    depMes->SetNomeSemana(
        {u"Domingo"_s, u"Segunda"_s, u"Terça"_s, u"Quarta"_s, u"Quinta"_s, u"Sexta"_s, u"Sábado"_s});
    depMes->SetColor(clInfoBk());
    depMes->SetBounds(381, 21, 80, 21);
    Label3->setBuddy(depMes);

    // Code first, month second; the name is no tab stop.
    QWidget::setTabOrder(medCdFilial, depMes);

    qryFilial.SQL = kFilialSql;
    qryFilial.SQL_ORACLE = kFilialSql + u"\n"_s;
    qryFilial.SQL_MSSQL = kFilialSql + u"\n"_s;
    qryFilial.SQL_IB = kFilialSql + u"\n"_s;
    TStringField& code = qryFilial.AddStringField(u"CDFILIAL"_s, 4);
    code.SetDisplayLabel(u"Código"_s);
    code.Required = true;
    code.DisplayWidth = 8;
    qryFilial.AddStringField(u"NMFILIAL"_s, 30).SetDisplayLabel(u"Nome"_s);
    dtsFilial__.setObjectName(u"dtsFilial__"_s);
    dtsFilial__.SetDataSet(&qryFilial);
    sbtFilial->SetDataSource(dtsFilial__, qryFilial);

    medCdFilial->OnEnter = [this] { medCdFilialEnter(); };
    medCdFilial->OnChange = [this] { medCdFilialChange(); };
    medCdFilial->OnExit = [this] {
        medCdFilialExit();
        ConfereRescisao();
    };
    sbtFilial->OnBeforePesq = [this](QObject* sender, bool& proceed) {
        sbtFilialBeforePesq(sender, proceed);
    };
    sbtFilial->OnAfterPesq = [this](QObject* sender) { sbtFilialAfterPesq(sender); };
    panFilial->OnExit = [this] { panFilialExit(); };
    depMes->OnExit = [this] { depMesExit(); };
    depMes->OnChange = [this] { depMesChange(); };
}
