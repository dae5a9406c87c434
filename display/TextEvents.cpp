#include "display/TextEvents.h"

#include <cstring>

namespace display {

namespace {

constexpr TextFamily D = TextFamily::MenuDay;
constexpr TextFamily T = TextFamily::DishType;
constexpr TextFamily N = TextFamily::NameWithCode;
constexpr const char16_t* kOpening = u" (";

} // namespace

const std::vector<TextEvent>& textEvents() {
    static const std::vector<TextEvent> events = {
        {"cdsFreqPratSemNMPRATOGetText", N, "CDPRATO", 1, kOpening},
        {"cdsFreqPratSemDetDTCARDAPIOGetText", D, nullptr, 0, nullptr},
        {"cdsFreqPratSemDetNMPRATOGetText", N, "CDPRATO", 1, kOpening},
        {"cdsFreqPratMesNMPRATOGetText", N, "CDPRATO", 1, kOpening},
        {"cdsFreqPratMesDetDTCARDAPIOGetText", D, nullptr, 0, nullptr},
        {"cdsFreqPratMesDetNMPRATOGetText", N, "CDPRATO", 1, kOpening},
        {"cdsFreqOpcaSemNMPRATOGetText", N, "CDPRATO", 1, kOpening},
        {"cdsFreqOpcaSemDetDTCARDAPIOGetText", D, nullptr, 0, nullptr},
        {"cdsFreqOpcaSemDetNMPRATOGetText", N, "CDPRATO", 1, kOpening},
        {"cdsFreqOpcaMesNMPRATOGetText", N, "CDPRATO", 1, kOpening},
        {"cdsFreqOpcaMesDetDTCARDAPIOGetText", D, nullptr, 0, nullptr},
        {"cdsFreqOpcaMesDetNMPRATOGetText", N, "CDPRATO", 1, kOpening},
        {"cdsRestPratMesNMPRATOGetText", N, "CDPRATO", 1, kOpening},
        {"cdsRestPratMesDetDTCARDAPIOGetText", D, nullptr, 0, nullptr},
        {"cdsRestPratMesDetNMPRATOGetText", N, "CDPRATO", 1, kOpening},
        {"cdsRestOpcaMesNMPRATOGetText", N, "CDPRATO", 1, kOpening},
        {"cdsRestOpcaMesDetDTCARDAPIOGetText", D, nullptr, 0, nullptr},
        {"cdsRestOpcaMesDetNMPRATOGetText", N, "CDPRATO", 1, kOpening},
        {"cdsUtilPratSemNMPRATOGetText", N, "CDPRATO", 1, kOpening},
        {"cdsUtilPratSemDetDTCARDAPIOGetText", D, nullptr, 0, nullptr},
        {"cdsUtilPratSemDetNMTIPOPRATGetText", T, "IDOPCCNFMES", 0, nullptr},
        {"cdsUtilPratSemDetNMPRATOGetText", N, "CDPRATO", 1, kOpening},
        {"cdsLimNutriDetDTCARDAPIOGetText", D, nullptr, 0, nullptr},
        {"cdsLimPePraNMPRATOGetText", N, "CDPRATO", 0, kOpening},
        {"cdsLimPePraNMPRODUTOGetText", N, "CDPRODUTO", 0, kOpening},
        {"cdsLimPePraDetDTCARDAPIOGetText", D, nullptr, 0, nullptr},
        {"cdsLimPePraDetNMPRODUTOGetText", N, "CDPRODUTO", 0, kOpening},
        {"cdsLimPePraDetNMPRATOGetText", N, "CDPRATO", 0, kOpening},
        {"cdsLimPeSerNMPRODUTOGetText", N, "CDPRODUTO", 0, kOpening},
        {"cdsLimPeSerDetDTCARDAPIOGetText", D, nullptr, 0, nullptr},
        {"cdsLimPeSerDetNMPRODUTOGetText", N, "CDPRODUTO", 0, kOpening},
        {"cdsLimPeSerDetNMTIPOPRATGetText", T, "IDOPCCNFMES", 0, nullptr},
        {"cdsLimPeSerDetNMPRATOGetText", N, "CDPRATO", 0, kOpening},
        {"cdsRestProdNMPRODUTOGetText", N, "CDARVPROD", 0, kOpening},
        {"cdsRestProdDetDTCARDAPIOGetText", D, nullptr, 0, nullptr},
        {"cdsRestProdDetNMTIPOPRATGetText", T, "IDOPCCNFMES", 0, nullptr},
        {"cdsRestProdDetNMPRODUTOGetText", N, "CDARVPROD", 0, u" ( "},
        {"cdsRestProdDetNMPRATOGetText", N, "CDPRATO", 1, kOpening},
    };
    return events;
}

const TextEvent* findTextEvent(const char* name) {
    for (const TextEvent& event : textEvents())
        if (std::strcmp(event.name, name) == 0)
            return &event;
    return nullptr;
}

} // namespace display
