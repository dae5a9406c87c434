#pragma once

#include <QString>

#include <vector>

namespace results {

enum class Align { Default, Left, Right, Center };

// Where a column's title comes from: the field's display label, or a title the column carries.
enum class TitleSource { FieldLabel, Column };

struct GridColumn {
    const char* field;
    const char16_t* title; // the text shown; for FieldLabel columns it equals the field's label
    TitleSource titleSource;
    Align cell = Align::Default;
    Align titleAlign = Align::Default;
    int width = 0;                   // pixels; 0: the grid's default width for the field
    const char* titleFont = nullptr; // a symbol font for a glyph title, else the grid's font
    int titleFontHeight = 0;         // with titleFont: the font height (negative: character height)
    bool drawnAsImage = false;       // the cell shows a mark image instead of its text
};

struct GridLayout {
    const char* grid;
    const char* dataSource;
    std::vector<GridColumn> columns; // left to right
};

// The 22 result grids and dbgServico.
const std::vector<GridLayout>& gridLayouts();
const GridLayout* findGridLayout(const QString& grid);

} // namespace results
