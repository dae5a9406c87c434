#include "results/GridColumns.h"
#include "results/RecordLayouts.h"
#include "results/RestrictionCategories.h"
#include "results/TResultRecords.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using results::Align;
using results::GridColumn;
using results::TitleSource;
using namespace Qt::StringLiterals;

namespace {

TEST(GridColumns, TheResultGridsOfEveryCategoryAndTheServiceGridAreThere) {
    std::set<std::string> expected{"dbgServico"};
    for (const results::RestrictionCategory& c : results::restrictionCategories()) {
        expected.insert(c.summaryGrid);
        expected.insert(c.detailGrid);
    }
    std::set<std::string> present;
    for (const results::GridLayout& grid : results::gridLayouts())
        EXPECT_TRUE(present.insert(grid.grid).second) << grid.grid << " twice";
    EXPECT_EQ(present, expected);
    EXPECT_EQ(present.size(), 23u);
}

TEST(GridColumns, EachCategorysGridsShowItsOwnSets) {
    TResultRecords records;
    for (const results::RestrictionCategory& c : results::restrictionCategories()) {
        SCOPED_TRACE(c.summarySet);
        const results::GridLayout* summary = results::findGridLayout(QLatin1StringView(c.summaryGrid));
        const results::GridLayout* detail = results::findGridLayout(QLatin1StringView(c.detailGrid));
        ASSERT_TRUE(summary && detail);
        EXPECT_EQ(records.FindDataSource(QLatin1StringView(summary->dataSource))->DataSet(),
                  records.FindRecordSet(QLatin1StringView(c.summarySet)));
        EXPECT_EQ(records.FindDataSource(QLatin1StringView(detail->dataSource))->DataSet(),
                  records.FindRecordSet(QLatin1StringView(c.detailSet)));
    }
}

// A column that shows its field's label must show the label the field really has; one with a title
// of its own is the only way a grid differs from its set.
TEST(GridColumns, EveryColumnIsAFieldOfItsSetAndLabelTitlesAreTheFieldsLabels) {
    TResultRecords records;
    for (const results::GridLayout& grid : results::gridLayouts()) {
        host::TDataSource* source = records.FindDataSource(QLatin1StringView(grid.dataSource));
        ASSERT_NE(source, nullptr) << grid.grid;
        for (const GridColumn& column : grid.columns) {
            SCOPED_TRACE(std::string(grid.grid) + "." + column.field);
            host::TField* field = source->DataSet()->FindField(QLatin1StringView(column.field));
            ASSERT_NE(field, nullptr);
            if (column.titleSource == TitleSource::FieldLabel) {
                EXPECT_EQ(field->DisplayLabel(), QString::fromUtf16(column.title));
            }
            EXPECT_GE(column.width, 0);
        }
    }
}

struct ColumnCase {
    const char* grid;
    int index;
    const char* field;
    const char16_t* title;
    TitleSource source;
    Align cell;
    Align titleAlign;
    int width; // 0: default
};

class ColumnSampleTest : public ::testing::TestWithParam<ColumnCase> {};

TEST_P(ColumnSampleTest, MatchesTheForm) {
    const ColumnCase& c = GetParam();
    const results::GridLayout* grid = results::findGridLayout(QLatin1StringView(c.grid));
    ASSERT_NE(grid, nullptr);
    ASSERT_GT(grid->columns.size(), static_cast<std::size_t>(c.index));
    const GridColumn& column = grid->columns[c.index];
    EXPECT_STREQ(column.field, c.field);
    EXPECT_EQ(QString::fromUtf16(column.title), QString::fromUtf16(c.title));
    EXPECT_EQ(column.titleSource, c.source);
    EXPECT_EQ(column.cell, c.cell);
    EXPECT_EQ(column.titleAlign, c.titleAlign);
    EXPECT_EQ(column.width, c.width);
}

constexpr auto L = TitleSource::FieldLabel;
constexpr auto T = TitleSource::Column;
constexpr auto D = Align::Default;
constexpr auto R = Align::Right;

INSTANTIATE_TEST_SUITE_P(
    Sample, ColumnSampleTest,
    ::testing::Values(ColumnCase{"dbgFreqPratSem", 0, "NMPRATO", u"Prato (ou Grupo)", T, D, D, 250},
                      ColumnCase{"dbgFreqPratSem", 1, "NRSEMANA", u"Semana", L, R, R, 50},
                      ColumnCase{"dbgFreqPratMes", 2, "NRMAXMESFPRA", u"Máx./Mês", L, D, D, 0},
                      ColumnCase{"dbgFreqPraM", 1, "NMTIPOPRAT", u"Tipo de Prato", T, D, D, 140},
                      ColumnCase{"dbgFreqOpcaSem", 0, "NMPRATO", u"Prato (ou Grupo)", T, D, D, 0},
                      ColumnCase{"dbgUtilPratSem", 7, "IDUTPRATDOM", u"Dom", L, D, D, 0},
                      ColumnCase{"dbgUtilPratSem", 9, "NRPRATSEMANA", u"Nº de Pratos", L, D, R, 65},
                      ColumnCase{"DBGrid1", 3, "QTMAXLIMNUTR", u"Qtde.Máxima", T, D, R, 0},
                      ColumnCase{"DBGrid1", 4, "SGUNIDADE", u"UN", L, D, D, 21},
                      ColumnCase{"DBGrid4", 1, "QTNUTRIENTE", u"Qtde. de Nutrientes", L, D, R, 111},
                      ColumnCase{"DBGrid7", 5, "NMPRATO", u"Prato", L, D, D, 0},
                      ColumnCase{"DBGrid9", 1, "NMTIPOPRAT", u"Tipo de Prato", T, D, D, 140},
                      ColumnCase{"DBGrid8", 1, "QTMINLIMSERV", u"Qtde.Mínima", L, D, R, 71},
                      ColumnCase{"DBGrid10", 1, "NRPRODMES", u"Nº de Produtos", L, D, R, 84},
                      ColumnCase{"DBGrid11", 1, "NMPRODUTO", u"Produto", L, D, D, 250},
                      ColumnCase{"dbgServico", 0, "CDSERVFILI", u"Código", L, D, D, 51},
                      ColumnCase{"dbgServico", 2, "IDMARCADO", u"4", T, Align::Center, Align::Center, 31}),
    [](const auto& row) { return std::string(row.param.grid) + "_" + std::to_string(row.param.index); });

TEST(GridColumns, TheMarkColumnTitleIsASymbolGlyphAndItsCellsAreImages) {
    const GridColumn& mark = results::findGridLayout(u"dbgServico"_s)->columns.back();
    EXPECT_STREQ(mark.titleFont, "Monotype Sorts");
    EXPECT_EQ(mark.titleFontHeight, -12);
    EXPECT_TRUE(mark.drawnAsImage);
    for (const results::GridLayout& grid : results::gridLayouts())
        for (const GridColumn& column : grid.columns)
            if (&column != &mark) {
                EXPECT_FALSE(column.drawnAsImage || column.titleFont) << grid.grid << "." << column.field;
            }
}

} // namespace
