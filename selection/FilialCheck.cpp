#include "module/TfrmAnalRestCont.h"

#include "host/context/OperatorContext.h"
#include "host/core/Consiste.h"
#include "host/db/ValidaFilial.h"
#include "host/edit/TEdit.h"
#include "host/edit/TMaskEdit.h"

using namespace host;

void TfrmAnalRestCont::ConfereRescisao() {
    if (!ContratoRescindido(medCdFilial->Text()))
        return;
    medCdFilial->setFocus();
    MensErro(msgPadrao->Msg(QStringLiteral("FILI_RESC")), true);
}

void TfrmAnalRestCont::ConfereFilial(bool checkRescinded) {
    try {
        medCdFilial->SetText(Ajusta(medCdFilial->Text(), 4));
        edtNmFilial->SetText(ValidaFilial(medCdFilial->Text(), Operador(), checkRescinded));
    } catch (...) {
        medCdFilial->setFocus();
        throw;
    }
    ConfereServicosFilial();
}
