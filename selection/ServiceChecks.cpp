#include "module/TfrmAnalRestCont.h"

#include "module/Cli_kdr60251.h"

#include "host/app/TPageControl.h"
#include "host/app/TTabSheet.h"
#include "host/core/Consiste.h"
#include "host/core/ScopeGuard.h"
#include "host/grid/TDBGrid.h"
#include "host/grid/WindowUpdateLock.h"

using namespace Qt::StringLiterals;
using namespace host;

// A new current service puts every result out of date; the result page in front reloads at once.
void TfrmAnalRestCont::cdsServicoAfterScroll(TClientDataSet&) {
    SetReloadFlags();
    TTabSheet* page = pgcPadrao ? pgcPadrao->ActivePage() : nullptr;
    if (page && page != tshServicos && page->OnEnter)
        page->OnEnter();
}

// "_" before each marked code, in list order. The walk neither repaints nor counts as a change of
// service; whatever happens, the row, the painting and the after-scroll handler come back.
void TfrmAnalRestCont::MontaListaServ() {
    cdsServico.AfterScroll = nullptr;
    const ScopeGuard reattach([this] {
        cdsServico.AfterScroll = [this](TClientDataSet& dataSet) { cdsServicoAfterScroll(dataSet); };
    });
    const LockWindowUpdate frozen(*this);
    TBookmark bookmark = cdsServico.GetBookmark();
    const ScopeGuard release([&] { cdsServico.FreeBookmark(bookmark); });

    stListaServ.clear();
    // A list never loaded has no marks.
    if (!cdsServico.Active())
        return;
    cdsServico.First();
    while (!cdsServico.Eof()) {
        if (cdsServico.FieldByName(u"IDMARCADO"_s).AsString() == u"S"_s)
            stListaServ += u"_"_s + cdsServico.FieldByName(u"CDSERVFILI"_s).AsString();
        cdsServico.Next();
    }
    if (!bookmark.isNull())
        cdsServico.GotoBookmark(bookmark);
}

void TfrmAnalRestCont::Vd_Serv() {
    if (!EmptyString(stListaServ))
        return;
    pgcVerifica->SetActivePage(tshVerificar);
    pgcPadrao->SetActivePage(tshServicos);
    dbgServico->setFocus();
    MensErro(msgPadrao->Msg(u"SERV_DEVE"_s), true);
}
