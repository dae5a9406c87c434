#include "reasons/Categories.h"

using namespace Qt::StringLiterals;

namespace reasons {

// Tokens: {item} the row's dish, product or nutrient with its code; {dish} the dish a per-capita limit
// lies within; {count} the row's count with its noun; {week} the week; {max} the weekly maximum;
// {range} the frequency the contract allows; {limit} the quantity bound that was crossed; {weekdays}
// the weekdays the dish was served on and {refusal} which of them the contract refuses.
const std::vector<Category>& categories() {
    static const std::vector<Category> table = {
        {.method = "GetFreqPratSem",
         .detailMethod = "GetFreqPratSemDet",
         .sentence =
             u"{item} servida {count} na semana {week}; o contrato permite no máximo {max} por semana"_s,
         .itemName = "NMPRATO",
         .itemCode = "CDPRATO",
         .count = "NRPRATSEMANA",
         .noun = Noun::Times,
         .maxBound = "NRMAXIFREPRA"},
        {.method = "GetFreqPratMes",
         .detailMethod = "GetFreqPratMesDet",
         .sentence = u"{item} servida {count} no mês; o contrato permite {range}"_s,
         .itemName = "NMPRATO",
         .itemCode = "CDPRATO",
         .count = "NRPRATMES",
         .noun = Noun::Times,
         .minBound = "NRMINIFREPRA",
         .maxBound = "NRMAXMESFPRA"},
        {.method = "GetFreqOpcaSem",
         .detailMethod = "GetFreqOpcaSemDet",
         .sentence =
             u"{item} servida como opção {count} na semana {week}; o contrato permite no máximo {max} por semana"_s,
         .itemName = "NMPRATO",
         .itemCode = "CDPRATO",
         .count = "NRPRATSEMANA",
         .noun = Noun::Times,
         .maxBound = "NRMAXIFREOPC"},
        {.method = "GetFreqOpcaMes",
         .detailMethod = "GetFreqOpcaMesDet",
         .sentence = u"{item} servida como opção {count} no mês; o contrato permite {range}"_s,
         .itemName = "NMPRATO",
         .itemCode = "CDPRATO",
         .count = "NRPRATMES",
         .noun = Noun::Times,
         .minBound = "NRMINIFREOPC",
         .maxBound = "NRMAXMESFOPC"},
        {.method = "GetRestPratMes",
         .detailMethod = "GetRestPratMesDet",
         .sentence = u"{item} servida {count} no mês; o contrato proíbe este prato"_s,
         .itemName = "NMPRATO",
         .itemCode = "CDPRATO",
         .count = "NRPRATMES",
         .noun = Noun::Times},
        {.method = "GetRestOpcaMes",
         .detailMethod = "GetRestOpcaMesDet",
         .sentence = u"{item} servida como opção {count} no mês; o contrato proíbe esta opção"_s,
         .itemName = "NMPRATO",
         .itemCode = "CDPRATO",
         .count = "NRPRATMES",
         .noun = Noun::Times},
        {.method = "GetUtilPratSem",
         .detailMethod = "GetUtilPratSemDet",
         .sentence = u"{item} servida {count} na semana {week} ({weekdays}){refusal}"_s,
         .itemName = "NMPRATO",
         .itemCode = "CDPRATO",
         .count = "NRPRATSEMANA",
         .noun = Noun::Times,
         .weekdayMarks = true},
        {.method = "GetLimNutri",
         .detailMethod = "GetLimNutriDet",
         .sentence = u"{item} {limit} em {count}"_s,
         .itemName = "NMNUTRIENTE",
         .itemCode = nullptr,
         .count = "NRNUTRMES",
         .noun = Noun::Days,
         .minBound = "QTMINLIMNUTR",
         .maxBound = "QTMAXLIMNUTR",
         .unit = "SGUNIDADE",
         .days = DayList::Quantities,
         .quantity = "QTNUTRIENTE"},
        {.method = "GetLimPePra",
         .detailMethod = "GetLimPePraDet",
         .sentence = u"{item} em {dish} {limit} por prato em {count}"_s,
         .itemName = "NMPRODUTO",
         .itemCode = "CDPRODUTO",
         .count = "NRPRODMES",
         .noun = Noun::Dishes,
         .minBound = "QTMINLIMPRAT",
         .maxBound = "QTMAXLIMPRAT",
         .dishName = "NMPRATO",
         .dishCode = "CDPRATO",
         .days = DayList::Quantities,
         .quantity = "QTPRODUTO",
         .perItem = true},
        {.method = "GetLimPeSer",
         .detailMethod = "GetLimPeSerDet",
         .sentence = u"{item} {limit} por serviço em {count}"_s,
         .itemName = "NMPRODUTO",
         .itemCode = "CDPRODUTO",
         .count = "NRPRODMES",
         .noun = Noun::Days,
         .minBound = "QTMINLIMSERV",
         .maxBound = "QTMAXLIMSERV",
         .days = DayList::Quantities,
         .quantity = "QTPRODUTO"},
        // The screen shows a restricted product beside its tree code, so the sentence does too.
        {.method = "GetRestProd",
         .detailMethod = "GetRestProdDet",
         .sentence = u"{item} presente {count} no mês; o contrato proíbe este produto"_s,
         .itemName = "NMPRODUTO",
         .itemCode = "CDARVPROD",
         .count = "NRPRODMES",
         .noun = Noun::Times},
    };
    return table;
}

const Category* findCategory(std::string_view method) {
    for (const Category& category : categories())
        if (category.method == method)
            return &category;
    return nullptr;
}

} // namespace reasons
