#include "module/Cli_kdr60251.h"
#include "module/TfrmAnalRestCont.h"

#include "host/core/Consiste.h"
#include "host/edit/TDateEditPlus.h"
#include "host/edit/TEdit.h"
#include "host/edit/TMaskEdit.h"

using namespace Qt::StringLiterals;
using namespace host;

void TfrmAnalRestCont::medCdFilialEnter() {
    stCdFilialAnt = medCdFilial->Text();
}

// A name is shown only for the code it was looked up for.
void TfrmAnalRestCont::medCdFilialChange() {
    edtNmFilial->SetText(QString());
}

// The list follows the code: one of another branch (a failed load, a change no exit saw) is
// replaced by the check itself, even when the code equals the one at entry; and a code changed since
// entry takes a fresh list with no marks, unless the check has just loaded it.
void TfrmAnalRestCont::medCdFilialExit() {
    const QString held = stCdFilialServ;
    ConfereFilial(false);
    if (medCdFilial->Text() != stCdFilialAnt && stCdFilialServ == held)
        CarregaServicos(medCdFilial->Text());
}

void TfrmAnalRestCont::sbtFilialBeforePesq(QObject*, bool&) {
    qryFilial.Close();
    qryFilial.ParamByName(u"P_CDFILIAL"_s).Clear();
    qryFilial.ParamByName(u"P_TCDFILIAL"_s).SetAsString(u"T"_s);
}

// Code before name: writing the code clears the name. Validation and the service list wait for the
// focus to leave the code or the panel.
void TfrmAnalRestCont::sbtFilialAfterPesq(QObject*) {
    medCdFilial->SetText(qryFilial.FieldByName(u"CDFILIAL"_s).AsString());
    edtNmFilial->SetText(qryFilial.FieldByName(u"NMFILIAL"_s).AsString());
}

void TfrmAnalRestCont::panFilialExit() {
    ConfereFilial(true);
    Vd_Mes(true);
}

void TfrmAnalRestCont::depMesExit() {
    depMes->CheckValidDate();
}

// The results on the pages belong to the month they were fetched for: another month on screen
// makes every page fetch again when it is next entered.
void TfrmAnalRestCont::depMesChange() {
    SetReloadFlags();
}

void TfrmAnalRestCont::Vd_Mes(bool check) {
    if (!check || !EmptyString(depMes->Text()))
        return;
    depMes->setFocus();
    MensErro(msgPadrao->Msg(u"MesNull"_s), true);
}
