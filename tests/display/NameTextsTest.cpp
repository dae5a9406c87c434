#include "LoadedScreenFixture.h"

#include "host/grid/DataSetModel.h"

namespace {

struct NameText {
    const char* event;
    const char* set;
    const char* field;
    const char* text; // of the first row: the trimmed name, the opening, the code as its mask lays it out
};

// Dish codes laid out by the kind 1 mask read ABC1/23, by the kind 0 mask AB-C123; the product
// code X1-Y2Z3 and the tree code PQ-9876 are kind 0.
const NameText kNameTexts[] = {
    {"cdsFreqPratSemNMPRATOGetText", "cdsFreqPratSem", "NMPRATO", "Arroz (ABC1/23)"},
    {"cdsFreqPratSemDetNMPRATOGetText", "cdsFreqPratSemDet", "NMPRATO", "Arroz (ABC1/23)"},
    {"cdsFreqPratMesNMPRATOGetText", "cdsFreqPratMes", "NMPRATO", "Arroz (ABC1/23)"},
    {"cdsFreqPratMesDetNMPRATOGetText", "cdsFreqPratMesDet", "NMPRATO", "Arroz (ABC1/23)"},
    {"cdsFreqOpcaSemNMPRATOGetText", "cdsFreqOpcaSem", "NMPRATO", "Pudim (DEF4/56)"},
    {"cdsFreqOpcaSemDetNMPRATOGetText", "cdsFreqOpcaSemDet", "NMPRATO", "Pudim (DEF4/56)"},
    {"cdsFreqOpcaMesNMPRATOGetText", "cdsFreqOpcaMes", "NMPRATO", "Pudim (DEF4/56)"},
    {"cdsFreqOpcaMesDetNMPRATOGetText", "cdsFreqOpcaMesDet", "NMPRATO", "Pudim (DEF4/56)"},
    {"cdsRestPratMesNMPRATOGetText", "cdsRestPratMes", "NMPRATO", "Arroz (ABC1/23)"},
    {"cdsRestPratMesDetNMPRATOGetText", "cdsRestPratMesDet", "NMPRATO", "Arroz (ABC1/23)"},
    {"cdsRestOpcaMesNMPRATOGetText", "cdsRestOpcaMes", "NMPRATO", "Pudim (DEF4/56)"},
    {"cdsRestOpcaMesDetNMPRATOGetText", "cdsRestOpcaMesDet", "NMPRATO", "Pudim (DEF4/56)"},
    {"cdsUtilPratSemNMPRATOGetText", "cdsUtilPratSem", "NMPRATO", "Arroz (ABC1/23)"},
    {"cdsUtilPratSemDetNMPRATOGetText", "cdsUtilPratSemDet", "NMPRATO", "Arroz (ABC1/23)"},
    {"cdsLimPePraNMPRATOGetText", "cdsLimPePra", "NMPRATO", "Arroz (AB-C123)"},
    {"cdsLimPePraNMPRODUTOGetText", "cdsLimPePra", "NMPRODUTO", "Azeite (X1-Y2Z3)"},
    {"cdsLimPePraDetNMPRODUTOGetText", "cdsLimPePraDet", "NMPRODUTO", "Azeite (X1-Y2Z3)"},
    {"cdsLimPePraDetNMPRATOGetText", "cdsLimPePraDet", "NMPRATO", "Arroz (AB-C123)"},
    {"cdsLimPeSerNMPRODUTOGetText", "cdsLimPeSer", "NMPRODUTO", "Azeite (X1-Y2Z3)"},
    {"cdsLimPeSerDetNMPRODUTOGetText", "cdsLimPeSerDet", "NMPRODUTO", "Azeite (X1-Y2Z3)"},
    {"cdsLimPeSerDetNMPRATOGetText", "cdsLimPeSerDet", "NMPRATO", "Arroz (AB-C123)"},
    {"cdsRestProdNMPRODUTOGetText", "cdsRestProd", "NMPRODUTO", "Azeite (PQ-9876)"},
    {"cdsRestProdDetNMPRODUTOGetText", "cdsRestProdDet", "NMPRODUTO", "Azeite ( PQ-9876)"},
    {"cdsRestProdDetNMPRATOGetText", "cdsRestProdDet", "NMPRATO", "Arroz (ABC1/23)"},
};

using NameTexts = LoadedScreenTest;

// Each of the 24 name events composes its own name with its own code field, laid out by its own kind
// of mask, behind its own opening, and its grid shows that text.
TEST_F(NameTexts, EveryNameShowsItsCodeLaidOutByItsKindOfMask) {
    ASSERT_EQ(std::size(kNameTexts), 24u);
    for (const NameText& n : kNameTexts) {
        SCOPED_TRACE(n.event);
        TClientDataSet& set = *form->FindRecordSet(QLatin1StringView(n.set));
        ASSERT_FALSE(set.IsEmpty());
        set.First();
        TField& field = set.FieldByName(QLatin1StringView(n.field));
        EXPECT_EQ(field.DisplayText(), QString::fromUtf8(n.text));
        EXPECT_EQ(field.Text(), QString::fromUtf8(n.text)) << "the editing text is the same";
        TDBGrid* grid = gridOf(set);
        ASSERT_NE(grid, nullptr);
        int column = -1;
        for (int i = 0; i < grid->Columns().Count(); ++i)
            if (grid->Columns()[i].FieldName() == QLatin1StringView(n.field))
                column = i;
        ASSERT_GE(column, 0) << "a column shows the field";
        EXPECT_EQ(grid->model().data(grid->model().index(0, column), Qt::DisplayRole).toString(),
                  QString::fromUtf8(n.text));
    }
}

} // namespace
