#include "module/TfrmAnalRestCont.h"

#include "host/app/TPageControl.h"
#include "host/app/TTabSheet.h"

using namespace host;

void TfrmAnalRestCont::pgcVerificaChanging(TPageControl& sender, bool&) {
    if (sender.ActivePage() != tshOpcoes)
        return;
    ConfereFilial(true);
    Vd_Mes(true);
}

void TfrmAnalRestCont::pgcVerificaChange(TPageControl& sender) {
    if (sender.ActivePage() != tshVerificar)
        return;
    for (int i = 0; i < pgcPadrao->GetPageCount(); ++i)
        pgcPadrao->GetPage(i)->update();
    // The result page in front shows the current selection as soon as the analysis page is back.
    TTabSheet* front = pgcPadrao->ActivePage();
    if (front && front != tshServicos && front->OnEnter)
        front->OnEnter();
}
