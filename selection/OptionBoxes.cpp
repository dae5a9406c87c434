#include "selection/OptionBoxes.h"

namespace selection {

const std::vector<OptionBox>& optionBoxes() {
    static const std::vector<OptionBox> boxes = {
        {"chbFreqPrat", u"Frequência de Pratos no Mês", 6, 4},
        {"chbFreqOpca", u"Frequência de Opções no Mês", 6, 29},
        {"chbUtilPrat", u"Utilização de Pratos na Semana", 6, 54},
        {"chbLimPerSer", u"Limite de Per Capita por Serviço", 6, 79},
        {"chbLimPerPrat", u"Limite de Per Capita por Prato", 6, 104},
        {"chbLimNutri", u"Limite de Nutrientes por Serviço", 6, 129},
        {"chbRestPrat", u"Restrição de Pratos no Mês", 245, 4},
        {"chbRestOpca", u"Restrição de Opcões no Mês", 245, 29},
        {"chbRestProd", u"Restrição de Produtos ", 245, 54},
    };
    return boxes;
}

const std::vector<ResultPage>& resultPages() {
    static const std::vector<ResultPage> pages = {
        {"tshFreqPratSem", u"Frequência de Pratos (Semana)"},
        {"tshFreqPratMes", u"Frequência de Pratos (Mês)"},
        {"tshFreqOpcaSem", u"Frequência de Opções (Semana)"},
        {"tshFreqOpcaMes", u"Frequência de Opções (Mês)"},
        {"tshRestPratMes", u"Restrição de Pratos (Mês)"},
        {"tshRestOpcaMes", u"Restrição de Opções (Mês)"},
        {"tshUtilPratSem", u"Utilização de Pratos (Semana)"},
        {"tshLimNutri", u"Limite de Nutrientes por Serviço"},
        {"tshLimPerPrat", u"Limite de Per Capita por Prato"},
        {"tshLimPerSer", u"Limite de Per Capita por Serviço"},
        {"tshRestProd", u"Restrição de Produtos"},
    };
    return pages;
}

const std::vector<PageOfBox>& pagesOfBoxes() {
    static const std::vector<PageOfBox> pairs = {
        {"chbFreqPrat", "tshFreqPratSem"},  {"chbFreqPrat", "tshFreqPratMes"},
        {"chbFreqOpca", "tshFreqOpcaSem"},  {"chbFreqOpca", "tshFreqOpcaMes"},
        {"chbRestPrat", "tshRestPratMes"},  {"chbRestOpca", "tshRestOpcaMes"},
        {"chbUtilPrat", "tshUtilPratSem"},  {"chbLimNutri", "tshLimNutri"},
        {"chbLimPerPrat", "tshLimPerPrat"}, {"chbLimPerSer", "tshLimPerSer"},
        {"chbRestProd", "tshRestProd"},
    };
    return pairs;
}

const std::vector<const char*>& optionCheckOrder() {
    static const std::vector<const char*> order = {"chbFreqPrat", "chbFreqOpca",   "chbUtilPrat",
                                                   "chbLimNutri", "chbLimPerPrat", "chbLimPerSer",
                                                   "chbRestProd", "chbRestOpca",   "chbRestPrat"};
    return order;
}

} // namespace selection
