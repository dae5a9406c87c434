#include "results/GridBuilder.h"

#include "host/data/TDataSource.h"
#include "host/grid/TDBGrid.h"

namespace results {

namespace {

host::TAlignment alignmentOf(Align align) {
    switch (align) {
    case Align::Right:
        return host::TAlignment::taRightJustify;
    case Align::Center:
        return host::TAlignment::taCenter;
    case Align::Default:
    case Align::Left:
        break;
    }
    return host::TAlignment::taLeftJustify;
}

} // namespace

void BuildGridColumns(host::TDBGrid& grid, const GridLayout& layout) {
    grid.Columns().Clear();
    for (const GridColumn& wanted : layout.columns) {
        host::TColumn& column = grid.Columns().Add();
        column.SetFieldName(QLatin1StringView(wanted.field));
        if (wanted.titleSource == TitleSource::Column)
            column.Title.SetCaption(QString::fromUtf16(wanted.title));
        // A column without its own alignment takes its field's: numbers to the right.
        if (wanted.cell != Align::Default)
            column.SetAlignment(alignmentOf(wanted.cell));
        column.Title.SetAlignment(alignmentOf(wanted.titleAlign));
        if (wanted.width > 0)
            column.SetWidth(wanted.width);
        if (wanted.titleFont)
            column.Title.SetFont(QString::fromLatin1(wanted.titleFont), wanted.titleFontHeight);
    }
}

} // namespace results
