#include "results/GridColumns.h"

namespace results {

namespace {

constexpr int kDefaultWidth = 0;

GridColumn label(const char* field, const char16_t* title, int width, Align titleAlign = Align::Default,
                 Align cell = Align::Default) {
    return {field, title, TitleSource::FieldLabel, cell, titleAlign, width};
}

GridColumn titled(const char* field, const char16_t* title, int width, Align titleAlign = Align::Default) {
    return {field, title, TitleSource::Column, Align::Default, titleAlign, width};
}

// The four dish-day detail grids that show day, type and dish with the field labels.
std::vector<GridColumn> dishDays() {
    return {label("DTCARDAPIO", u"Dia", 95), label("NMTIPOPRAT", u"Tipo de Prato", 140),
            label("NMPRATO", u"Prato", 290)};
}

constexpr Align R = Align::Right;

std::vector<GridLayout> buildGrids() {
    return {
        {"dbgFreqPratSem",
         "dtsFreqPratSem__",
         {titled("NMPRATO", u"Prato (ou Grupo)", 250), label("NRSEMANA", u"Semana", 50, R, R),
          label("NRMAXIFREPRA", u"Máx./Semana", 75, R), label("NRPRATSEMANA", u"Nº de Pratos", 75, R)}},
        {"dbgFreqPratS",
         "dtsFreqPratSemDet__",
         {label("DTCARDAPIO", u"Dia", 95), label("NMTIPOPRAT", u"Tipo de Prato", 140),
          titled("NMPRATO", u"Prato", 290)}},
        {"dbgFreqPratMes",
         "dtsFreqPratMes__",
         {titled("NMPRATO", u"Prato (ou Grupo)", 300), label("NRMINIFREPRA", u"Min./Mês", 75, R),
          label("NRMAXMESFPRA", u"Máx./Mês", kDefaultWidth), label("NRPRATMES", u"Nº de Pratos", 75, R)}},
        {"dbgFreqPraM",
         "dtsFreqPratMesDet__",
         {label("DTCARDAPIO", u"Dia", 95), titled("NMTIPOPRAT", u"Tipo de Prato", 140),
          titled("NMPRATO", u"Prato", 290)}},
        {"dbgFreqOpcaSem",
         "dtsFreqOpcaSem__",
         {titled("NMPRATO", u"Prato (ou Grupo)", kDefaultWidth), label("NRSEMANA", u"Semana", 75, R, R),
          label("NRMAXIFREOPC", u"Máx./Semana", kDefaultWidth, R),
          label("NRPRATSEMANA", u"Nº de Pratos", kDefaultWidth, R)}},
        {"DBGrid3", "dtsFreqOpcaSemDet__", dishDays()},
        {"dbgFreqOpcaMes",
         "dtsFreqOpcaMes__",
         {titled("NMPRATO", u"Prato (ou Grupo)", 250), label("NRMINIFREOPC", u"Min./Mês", 75, R),
          label("NRMAXMESFOPC", u"Máx./Mês", kDefaultWidth), label("NRPRATMES", u"Nº de Pratos", 75, R)}},
        {"DBGrid5", "dtsFreqOpcaMesDet__", dishDays()},
        {"dbgRestPraMes",
         "dtsRestPratMes__",
         {titled("NMPRATO", u"Prato (ou Grupo)", 250), label("NRPRATMES", u"Nº de Pratos", 75, R)}},
        {"DBGrid2", "dtsRestPratMesDet__", dishDays()},
        {"dbgRestOpcaMes",
         "dtsRestOpcaMes__",
         {titled("NMPRATO", u"Prato (ou Grupo)", 250), label("NRPRATMES", u"Nº de Pratos", 75, R)}},
        {"dbgRestOpca", "dtsRestOpcaMesDet__", dishDays()},
        {"dbgUtilPratSem",
         "dtsUtilPratSem__",
         {titled("NMPRATO", u"Prato (ou Grupo)", 180), label("IDUTPRATSEG", u"Seg", 25),
          label("IDUTPRATTER", u"Ter", 25), label("IDUTPRATQUA", u"Qua", 25),
          label("IDUTPRATQUI", u"Qui", 25), label("IDUTPRATSEX", u"Sex", 25),
          label("IDUTPRATSAB", u"Sab", 25), label("IDUTPRATDOM", u"Dom", kDefaultWidth),
          label("NRSEMANA", u"Semana", 45, R, R), label("NRPRATSEMANA", u"Nº de Pratos", 65, R)}},
        {"dbgUtilPratSemDet",
         "dtsUtilPratSemDet__",
         {label("DTCARDAPIO", u"Dia", 95), label("NMTIPOPRAT", u"Tipo de Prato", 140),
          titled("NMPRATO", u"Prato", 290)}},
        {"DBGrid1",
         "dtsLimNutri__",
         {label("CDNUTRIENTE", u"Código", 44), label("NMNUTRIENTE", u"Nutriente", 250),
          label("QTMINLIMNUTR", u"Qtde.Mínima", kDefaultWidth, R),
          titled("QTMAXLIMNUTR", u"Qtde.Máxima", kDefaultWidth, R), label("SGUNIDADE", u"UN", 21),
          label("NRNUTRMES", u"Nº de Nutrientes", 90, R)}},
        {"DBGrid4",
         "dtsLimNutriDet__",
         {label("DTCARDAPIO", u"Dia", 95), label("QTNUTRIENTE", u"Qtde. de Nutrientes", 111, R)}},
        {"DBGrid6",
         "dtsLimPePra__",
         {label("NMPRATO", u"Prato (ou Grupo)", 250), label("NMPRODUTO", u"Produto (ou Grupo)", 200),
          label("QTMINLIMPRAT", u"Qtde.Mínima", 70, R), label("QTMAXLIMPRAT", u"Qtde.Máxima", 70, R),
          label("NRPRODMES", u"Nº de Produtos", 80, R)}},
        {"DBGrid7",
         "dtsLimPePraDet__",
         {label("DTCARDAPIO", u"Dia", 95), label("NMTIPOPRAT", u"Tipo de Prato", 140),
          label("NMPRODUTO", u"Produto", 250), label("QTPRODUTO", u"Qtde. de Produto", kDefaultWidth),
          label("SGUNIDADE", u"UN", 25), label("NMPRATO", u"Prato", kDefaultWidth)}},
        {"DBGrid8",
         "dtsLimPeSer__",
         {label("NMPRODUTO", u"Produto (ou Grupo)", kDefaultWidth),
          label("QTMINLIMSERV", u"Qtde.Mínima", 71, R), label("QTMAXLIMSERV", u"Qtde.Máxima", 75, R),
          label("NRPRODMES", u"Nº de Produtos", kDefaultWidth, R)}},
        {"DBGrid9",
         "dtsLimPeSerDet__",
         {label("DTCARDAPIO", u"Dia", 95), titled("NMTIPOPRAT", u"Tipo de Prato", 140),
          label("NMPRODUTO", u"Produto", 250), label("QTPRODUTO", u"Qtde.Produto", 80),
          label("SGUNIDADE", u"UN", 24), label("NMPRATO", u"Prato", kDefaultWidth)}},
        {"DBGrid10",
         "dtsRestProd__",
         {label("NMPRODUTO", u"Produto (ou Grupo)", kDefaultWidth),
          label("NRPRODMES", u"Nº de Produtos", 84, R)}},
        {"DBGrid11",
         "dtsRestProdDet__",
         {label("DTCARDAPIO", u"Dia", 95), label("NMPRODUTO", u"Produto", 250),
          label("NMTIPOPRAT", u"Tipo de Prato", 140), label("NMPRATO", u"Prato", kDefaultWidth)}},
        {"dbgServico",
         "dtsServico__",
         {label("CDSERVFILI", u"Código", 51),
          label("NMSERVICO", u"Nome do Serviço", kDefaultWidth),
          // A check-mark glyph of the symbol font stands for "mark all / unmark all".
          {"IDMARCADO", u"4", TitleSource::Column, Align::Center, Align::Center, 31, "Monotype Sorts", -12,
           true}}},
    };
}

} // namespace

const std::vector<GridLayout>& gridLayouts() {
    static const std::vector<GridLayout> table = buildGrids();
    return table;
}

const GridLayout* findGridLayout(const QString& grid) {
    for (const GridLayout& layout : gridLayouts())
        if (grid == QLatin1StringView(layout.grid))
            return &layout;
    return nullptr;
}

} // namespace results
