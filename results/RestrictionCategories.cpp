#include "results/RestrictionCategories.h"

#include "module/Cli_kdr60251.h"

namespace results {

namespace {

using analysis::ArgKind;

constexpr DetailArg F{"CDFILIAL", ArgKind::Text};
constexpr DetailArg S{"CDSERVFILI", ArgKind::Text};
constexpr DetailArg MES{"DTMESCARD", ArgKind::Date};
constexpr DetailArg SEMANA{"NRSEMANA", ArgKind::Text};
constexpr DetailArg PRATO{"CDPRATO", ArgKind::Text};
constexpr DetailArg PRODUTO{"CDPRODUTO", ArgKind::Text};
// The weekly dish detail hands the launch month to the server, which writes the span's month back.
const DetailArg LAUNCH_MONTH{"dtMesCard", ArgKind::DateByRef, &dtMesCard};

DetailArg limit(const char* field) {
    return {field, ArgKind::Double};
}

std::vector<RestrictionCategory> buildTable() {
    return {
        {1,
         1,
         "chbFreqPrat",
         &boFreqPratSem,
         "cdsFreqPratSem",
         "cdsFreqPratSemDet",
         "GetFreqPratSem",
         "GetFreqPratSemDet",
         Span::Week,
         Pattern::A,
         "tshFreqPratSem",
         "tshFreqPratSemEnter",
         "cdsFreqPratSemAfterScroll",
         "dbgFreqPratSem",
         "dbgFreqPratS",
         {F, S, SEMANA, PRATO, LAUNCH_MONTH}},
        {2,
         2,
         "chbFreqPrat",
         &boFreqPratMes,
         "cdsFreqPratMes",
         "cdsFreqPratMesDet",
         "GetFreqPratMes",
         "GetFreqPratMesDet",
         Span::Month,
         Pattern::A,
         "tshFreqPratMes",
         "tshFreqPratMesEnter",
         "cdsFreqPratMesAfterScroll",
         "dbgFreqPratMes",
         "dbgFreqPraM",
         {F, S, MES, PRATO}},
        {3,
         3,
         "chbFreqOpca",
         &boFreqOpcaSem,
         "cdsFreqOpcaSem",
         "cdsFreqOpcaSemDet",
         "GetFreqOpcaSem",
         "GetFreqOpcaSemDet",
         Span::Week,
         Pattern::A,
         "tshFreqOpcaSem",
         "tshFreqOpcaSemEnter",
         "cdsFreqOpcaSemAfterScroll",
         "dbgFreqOpcaSem",
         "DBGrid3",
         {F, S, SEMANA, PRATO}},
        {4,
         4,
         "chbFreqOpca",
         &boFreqOpcaMes,
         "cdsFreqOpcaMes",
         "cdsFreqOpcaMesDet",
         "GetFreqOpcaMes",
         "GetFreqOpcaMesDet",
         Span::Month,
         Pattern::A,
         "tshFreqOpcaMes",
         "tshFreqOpcaMesEnter",
         "cdsFreqOpcaMesAfterScroll",
         "dbgFreqOpcaMes",
         "DBGrid5",
         {F, S, MES, PRATO}},
        {5,
         5,
         "chbRestPrat",
         &boRestPratMes,
         "cdsRestPratMes",
         "cdsRestPratMesDet",
         "GetRestPratMes",
         "GetRestPratMesDet",
         Span::Month,
         Pattern::B,
         "tshRestPratMes",
         "tshRestPratMesEnter",
         "cdsRestPratMesAfterScroll",
         "dbgRestPraMes",
         "DBGrid2",
         {F, S, MES, PRATO}},
        {6,
         6,
         "chbRestOpca",
         &boRestOpcaMes,
         "cdsRestOpcaMes",
         "cdsRestOpcaMesDet",
         "GetRestOpcaMes",
         "GetRestOpcaMesDet",
         Span::Month,
         Pattern::B,
         "tshRestOpcaMes",
         "tshRestOpcaMesEnter",
         "cdsRestOpcaMesAfterScroll",
         "dbgRestOpcaMes",
         "dbgRestOpca",
         {F, S, MES, PRATO}},
        // The dish comes before the week here, unlike the frequency details.
        {7,
         7,
         "chbUtilPrat",
         &boUtilPratSem,
         "cdsUtilPratSem",
         "cdsUtilPratSemDet",
         "GetUtilPratSem",
         "GetUtilPratSemDet",
         Span::Week,
         Pattern::B,
         "tshUtilPratSem",
         "tshUtilPratSemEnter",
         "cdsUtilPratSemAfterScroll",
         "dbgUtilPratSem",
         "dbgUtilPratSemDet",
         {F, S, PRATO, SEMANA}},
        {8,
         11,
         "chbRestProd",
         &boRestProd,
         "cdsRestProd",
         "cdsRestProdDet",
         "GetRestProd",
         "GetRestProdDet",
         Span::Month,
         Pattern::B,
         "tshRestProd",
         "tshRestProdEnter",
         "cdsRestProdAfterScroll",
         "DBGrid10",
         "DBGrid11",
         {F, S, MES, PRODUTO}},
        {9,
         10,
         "chbLimPerSer",
         &boLimPerSer,
         "cdsLimPeSer",
         "cdsLimPeSerDet",
         "GetLimPeSer",
         "GetLimPeSerDet",
         Span::Month,
         Pattern::B,
         "tshLimPerSer",
         "tshLimPerSerEnter",
         "cdsLimPeSerAfterScroll",
         "DBGrid8",
         "DBGrid9",
         {F, S, MES, PRODUTO, limit("QTMINLIMSERV"), limit("QTMAXLIMSERV")}},
        {10,
         9,
         "chbLimPerPrat",
         &boLimPerPrat,
         "cdsLimPePra",
         "cdsLimPePraDet",
         "GetLimPePra",
         "GetLimPePraDet",
         Span::Month,
         Pattern::B,
         "tshLimPerPrat",
         "tshLimPerPratEnter",
         "cdsLimPePraAfterScroll",
         "DBGrid6",
         "DBGrid7",
         {F, S, MES, PRATO, PRODUTO, limit("QTMINLIMPRAT"), limit("QTMAXLIMPRAT")}},
        {11,
         8,
         "chbLimNutri",
         &boLimNutri,
         "cdsLimNutri",
         "cdsLimNutriDet",
         "GetLimNutri",
         "GetLimNutriDet",
         Span::Month,
         Pattern::B,
         "tshLimNutri",
         "tshLimNutriEnter",
         "cdsLimNutriAfterScroll",
         "DBGrid1",
         "DBGrid4",
         {F, S, MES, {"CDNUTRIENTE", ArgKind::Text}, limit("QTMINLIMNUTR"), limit("QTMAXLIMNUTR")}},
    };
}

template <typename Pred> const RestrictionCategory* findCategory(Pred pred) {
    for (const RestrictionCategory& category : restrictionCategories())
        if (pred(category))
            return &category;
    return nullptr;
}

} // namespace

const std::vector<RestrictionCategory>& restrictionCategories() {
    static const std::vector<RestrictionCategory> table = buildTable();
    return table;
}

const RestrictionCategory* categoryByNumber(int number) {
    return findCategory([number](const RestrictionCategory& c) { return c.number == number; });
}

const RestrictionCategory* categoryBySummarySet(const QString& summarySet) {
    return findCategory(
        [summarySet](const RestrictionCategory& c) { return summarySet == QLatin1StringView(c.summarySet); });
}

const RestrictionCategory* categoryByResultPage(const QString& resultPage) {
    return findCategory(
        [resultPage](const RestrictionCategory& c) { return resultPage == QLatin1StringView(c.resultPage); });
}

std::vector<host::CallArg> detailCallArgs(const RestrictionCategory& category,
                                          const host::TClientDataSet& summary) {
    std::vector<host::CallArg> args;
    args.reserve(category.detailArgs.size());
    for (const DetailArg& arg : category.detailArgs) {
        if (arg.kind == ArgKind::DateByRef) {
            args.emplace_back(host::ByRefDate{arg.variable});
            continue;
        }
        const host::TField& field = summary.FieldByName(QLatin1StringView(arg.name));
        switch (arg.kind) {
        case ArgKind::Text:
            args.emplace_back(field.AsString());
            break;
        case ArgKind::Date:
            args.emplace_back(analysis::dateArg(field.AsDateTime()));
            break;
        case ArgKind::Double:
            args.emplace_back(analysis::limitArg(field));
            break;
        case ArgKind::DateByRef:
            break;
        }
    }
    return args;
}

} // namespace results
