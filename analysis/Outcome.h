#pragma once

#include <array>
#include <cstddef>
#include <optional>

// What decides that a menu is blocked, without widgets: the screen's calculation mode and the
// month-wide check both judge by it.
namespace analysis {

struct OutcomeCategory {
    const char* summaryMethod; // the server's summary method
    const char* summarySet;    // the screen's summary record set
    const char* page;          // the result page the screen shows for it
    const char* caption;       // that page's title
};

// The eleven categories in the order calculation mode looks for the first infringement.
inline constexpr std::array<OutcomeCategory, 11> kOutcomeOrder{{
    {"GetFreqPratSem", "cdsFreqPratSem", "tshFreqPratSem", "Frequência de Pratos (Semana)"},
    {"GetFreqPratMes", "cdsFreqPratMes", "tshFreqPratMes", "Frequência de Pratos (Mês)"},
    {"GetFreqOpcaSem", "cdsFreqOpcaSem", "tshFreqOpcaSem", "Frequência de Opções (Semana)"},
    {"GetFreqOpcaMes", "cdsFreqOpcaMes", "tshFreqOpcaMes", "Frequência de Opções (Mês)"},
    {"GetRestPratMes", "cdsRestPratMes", "tshRestPratMes", "Restrição de Pratos (Mês)"},
    {"GetRestOpcaMes", "cdsRestOpcaMes", "tshRestOpcaMes", "Restrição de Opções (Mês)"},
    {"GetUtilPratSem", "cdsUtilPratSem", "tshUtilPratSem", "Utilização de Pratos (Semana)"},
    {"GetLimNutri", "cdsLimNutri", "tshLimNutri", "Limite de Nutrientes por Serviço"},
    {"GetLimPePra", "cdsLimPePra", "tshLimPerPrat", "Limite de Per Capita por Prato"},
    {"GetLimPeSer", "cdsLimPeSer", "tshLimPerSer", "Limite de Per Capita por Serviço"},
    {"GetRestProd", "cdsRestProd", "tshRestProd", "Restrição de Produtos"},
}};

// The place in kOutcomeOrder of the first category whose summary has rows; nothing when every one
// is empty. A menu is blocked exactly when there is such a category.
template <typename HasRows> std::optional<std::size_t> firstInfringed(HasRows hasRows) {
    for (std::size_t place = 0; place < kOutcomeOrder.size(); ++place)
        if (hasRows(kOutcomeOrder[place]))
            return place;
    return std::nullopt;
}

template <typename HasRows> bool isBlocked(HasRows hasRows) {
    return firstInfringed(hasRows).has_value();
}

} // namespace analysis
