#include "module/Cli_kdr60251.h"
#include "module/TfrmAnalRestCont.h"

#include "analysis/ServerInterface.h"
#include "host/app/ShowAviGuard.h"
#include "host/app/TApplication.h"
#include "host/core/ScopeGuard.h"
#include "host/edit/TMaskEdit.h"

#include <QMainWindow>

using namespace Qt::StringLiterals;
using namespace host;

// The list always belongs to stCdFilialServ: a load that fails leaves no list rather than the
// previous branch's, so nothing of another branch can be marked or analysed. Whatever the outcome,
// every result is out of date.
void TfrmAnalRestCont::CarregaServicos(const QString& cdFilial) {
    const ScopeGuard outOfDate([] { SetReloadFlags(); });
    ShowAviGuard busy(Application().MainForm(), 6, msgPadrao->Msg(u"get_cdsServico"_s));
    try {
        analysis::CallServerMethod(netAnalRestCont, u"GetServico"_s, {cdFilial, u"N"_s}, cdsServico);
    } catch (...) {
        stCdFilialServ.clear();
        if (cdsServico.Active())
            cdsServico.EmptyDataSet();
        else
            cdsServico.CreateDataSet();
        throw;
    }
    stCdFilialServ = cdFilial;
}

void TfrmAnalRestCont::ConfereServicosFilial() {
    // An empty stCdFilialServ means no list is held: any branch, even one with an equal code, loads.
    if (stCdFilialServ.isEmpty() || medCdFilial->Text() != stCdFilialServ)
        CarregaServicos(medCdFilial->Text());
}
