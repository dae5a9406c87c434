#include "module/TfrmAnalRestCont.h"
#include "selection/OptionBoxes.h"

using namespace Qt::StringLiterals;
using namespace host;

// The two levels of pages: the selection page and the analysis page outside, the services page and
// the eleven result pages inside the analysis page.
void TfrmAnalRestCont::createPages() {
    pgcVerifica = new TPageControl(panVerifica, u"pgcVerifica"_s);
    pgcVerifica->SetAlign(TAlign::alClient);
    tshOpcoes = new TTabSheet(*pgcVerifica, u"tshOpcoes"_s, u"Opções"_s);
    tshVerificar = new TTabSheet(*pgcVerifica, u"tshVerificar"_s, u"Verificar"_s);

    auto* panOpcoes = new TPanel(tshVerificar, u"panOpcoes"_s);
    panOpcoes->setFrameStyle(QFrame::NoFrame);
    panOpcoes->SetAlign(TAlign::alClient);
    pgcPadrao = new TPageControl(panOpcoes, u"pgcPadrao"_s);
    pgcPadrao->SetAlign(TAlign::alClient);
    pgcPadrao->setFocusPolicy(Qt::NoFocus);
    tshServicos = new TTabSheet(*pgcPadrao, u"tshServicos"_s, u"Serviços"_s);

    TTabSheet** members[] = {&tshFreqPratSem, &tshFreqPratMes, &tshFreqOpcaSem, &tshFreqOpcaMes,
                             &tshRestPratMes, &tshRestOpcaMes, &tshUtilPratSem, &tshLimNutri,
                             &tshLimPerPrat,  &tshLimPerSer,   &tshRestProd};
    const auto& pages = selection::resultPages();
    for (std::size_t i = 0; i < pages.size(); ++i)
        *members[i] = new TTabSheet(*pgcPadrao, QString::fromLatin1(pages[i].name),
                                    QString::fromUtf16(pages[i].caption));
}

TTabSheet* TfrmAnalRestCont::FindPage(const QString& name) const {
    for (TPageControl* control : {pgcVerifica, pgcPadrao}) {
        if (!control)
            continue;
        for (int i = 0; i < control->GetPageCount(); ++i)
            if (control->GetPage(i)->Name() == name)
                return control->GetPage(i);
    }
    return nullptr;
}
