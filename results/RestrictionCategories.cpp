#include "results/RestrictionCategories.h"

#include "module/Cli_kdr60251.h"

#include <stdexcept>
#include <string>

namespace results {

namespace {

using analysis::ArgKind;

std::vector<RestrictionCategory> buildTable() {
    return {
        {1, 1, "chbFreqPrat", &boFreqPratSem, "cdsFreqPratSem", "cdsFreqPratSemDet", "GetFreqPratSem",
         "GetFreqPratSemDet", Span::Week, Pattern::A, "tshFreqPratSem", "tshFreqPratSemEnter",
         "cdsFreqPratSemAfterScroll", "dbgFreqPratSem", "dbgFreqPratS"},
        {2, 2, "chbFreqPrat", &boFreqPratMes, "cdsFreqPratMes", "cdsFreqPratMesDet", "GetFreqPratMes",
         "GetFreqPratMesDet", Span::Month, Pattern::A, "tshFreqPratMes", "tshFreqPratMesEnter",
         "cdsFreqPratMesAfterScroll", "dbgFreqPratMes", "dbgFreqPraM"},
        {3, 3, "chbFreqOpca", &boFreqOpcaSem, "cdsFreqOpcaSem", "cdsFreqOpcaSemDet", "GetFreqOpcaSem",
         "GetFreqOpcaSemDet", Span::Week, Pattern::A, "tshFreqOpcaSem", "tshFreqOpcaSemEnter",
         "cdsFreqOpcaSemAfterScroll", "dbgFreqOpcaSem", "DBGrid3"},
        {4, 4, "chbFreqOpca", &boFreqOpcaMes, "cdsFreqOpcaMes", "cdsFreqOpcaMesDet", "GetFreqOpcaMes",
         "GetFreqOpcaMesDet", Span::Month, Pattern::A, "tshFreqOpcaMes", "tshFreqOpcaMesEnter",
         "cdsFreqOpcaMesAfterScroll", "dbgFreqOpcaMes", "DBGrid5"},
        {5, 5, "chbRestPrat", &boRestPratMes, "cdsRestPratMes", "cdsRestPratMesDet", "GetRestPratMes",
         "GetRestPratMesDet", Span::Month, Pattern::B, "tshRestPratMes", "tshRestPratMesEnter",
         "cdsRestPratMesAfterScroll", "dbgRestPraMes", "DBGrid2"},
        {6, 6, "chbRestOpca", &boRestOpcaMes, "cdsRestOpcaMes", "cdsRestOpcaMesDet", "GetRestOpcaMes",
         "GetRestOpcaMesDet", Span::Month, Pattern::B, "tshRestOpcaMes", "tshRestOpcaMesEnter",
         "cdsRestOpcaMesAfterScroll", "dbgRestOpcaMes", "dbgRestOpca"},
        // The dish comes before the week here, unlike the frequency details.
        {7, 7, "chbUtilPrat", &boUtilPratSem, "cdsUtilPratSem", "cdsUtilPratSemDet", "GetUtilPratSem",
         "GetUtilPratSemDet", Span::Week, Pattern::B, "tshUtilPratSem", "tshUtilPratSemEnter",
         "cdsUtilPratSemAfterScroll", "dbgUtilPratSem", "dbgUtilPratSemDet"},
        {8, 11, "chbRestProd", &boRestProd, "cdsRestProd", "cdsRestProdDet", "GetRestProd", "GetRestProdDet",
         Span::Month, Pattern::B, "tshRestProd", "tshRestProdEnter", "cdsRestProdAfterScroll", "DBGrid10",
         "DBGrid11"},
        {9, 10, "chbLimPerSer", &boLimPerSer, "cdsLimPeSer", "cdsLimPeSerDet", "GetLimPeSer",
         "GetLimPeSerDet", Span::Month, Pattern::B, "tshLimPerSer", "tshLimPerSerEnter",
         "cdsLimPeSerAfterScroll", "DBGrid8", "DBGrid9"},
        {10, 9, "chbLimPerPrat", &boLimPerPrat, "cdsLimPePra", "cdsLimPePraDet", "GetLimPePra",
         "GetLimPePraDet", Span::Month, Pattern::B, "tshLimPerPrat", "tshLimPerPratEnter",
         "cdsLimPePraAfterScroll", "DBGrid6", "DBGrid7"},
        {11, 8, "chbLimNutri", &boLimNutri, "cdsLimNutri", "cdsLimNutriDet", "GetLimNutri", "GetLimNutriDet",
         Span::Month, Pattern::B, "tshLimNutri", "tshLimNutriEnter", "cdsLimNutriAfterScroll", "DBGrid1",
         "DBGrid4"},
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

const std::vector<analysis::ArgRule>& detailArgs(const RestrictionCategory& category) {
    const analysis::ServerMethod* method =
        analysis::findServerMethod(QLatin1StringView(category.detailMethod));
    if (!method)
        throw std::logic_error(std::string("no server method ") + category.detailMethod);
    return method->args;
}

std::vector<host::CallArg> detailCallArgs(const RestrictionCategory& category,
                                          const host::TClientDataSet& summary) {
    const std::vector<analysis::ArgRule>& rules = detailArgs(category);
    std::vector<host::CallArg> args;
    args.reserve(rules.size());
    for (const analysis::ArgRule& arg : rules) {
        if (arg.kind == ArgKind::DateByRef) {
            // The weekly dish detail hands the launch month to the server, which writes it back.
            args.emplace_back(host::ByRefDate{&dtMesCard});
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
