#include "module/TfrmAnalRestCont.h"
#include "selection/OptionBoxes.h"

#include "host/core/Consiste.h"

using namespace Qt::StringLiterals;
using namespace host;

void TfrmAnalRestCont::createOptions() {
    panRestricoes = new TPanel(tshOpcoes, u"panRestricoes"_s);
    panRestricoes->SetAlign(TAlign::alClient);

    TCheckBox** members[] = {&chbFreqPrat, &chbFreqOpca, &chbUtilPrat, &chbLimPerSer, &chbLimPerPrat,
                             &chbLimNutri, &chbRestPrat, &chbRestOpca, &chbRestProd};
    const auto& boxes = selection::optionBoxes();
    QWidget* previous = nullptr;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        auto* box = new TCheckBox(panRestricoes, QString::fromLatin1(boxes[i].name),
                                  QString::fromUtf16(boxes[i].caption));
        QFont font(u"MS Sans Serif"_s);
        font.setPixelSize(11);
        font.setBold(true);
        box->setFont(font);
        box->SetBounds(boxes[i].left, boxes[i].top, 230, 17);
        box->OnClick = [this] { chbFreqPratClick(); };
        if (previous)
            QWidget::setTabOrder(previous, box);
        previous = box;
        *members[i] = box;
    }
}

TCheckBox* TfrmAnalRestCont::FindOptionBox(const QString& name) const {
    for (TCheckBox* box : {chbFreqPrat, chbFreqOpca, chbUtilPrat, chbLimPerSer, chbLimPerPrat, chbLimNutri,
                           chbRestPrat, chbRestOpca, chbRestProd})
        if (box && box->Name() == name)
            return box;
    return nullptr;
}

void TfrmAnalRestCont::chbFreqPratClick() {
    Habilita();
}

void TfrmAnalRestCont::Habilita() {
    for (const auto& pair : selection::pagesOfBoxes()) {
        const bool checked = FindOptionBox(QString::fromLatin1(pair.box))->Checked();
        TTabSheet* page = FindPage(QString::fromLatin1(pair.page));
        page->SetVisible(checked);
        page->SetTabVisible(checked);
    }
    // Hiding and showing the services page again brings the service list to the front whatever was
    // shown before.
    tshServicos->SetVisible(false);
    tshServicos->SetTabVisible(false);
    tshServicos->SetVisible(true);
    tshServicos->SetTabVisible(true);
    pgcPadrao->SetActivePage(tshServicos);
}

void TfrmAnalRestCont::Vd_Opcoes() {
    for (const char* name : selection::optionCheckOrder())
        if (FindOptionBox(QString::fromLatin1(name))->Checked())
            return;
    pgcVerifica->SetActivePage(tshOpcoes);
    chbFreqPrat->setFocus();
    MensErro(msgPadrao->Msg(u"opcao_inf"_s), true);
}
