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
    for (const GridColumn& spec : layout.columns) {
        host::TColumn& column = grid.Columns().Add();
        column.SetFieldName(QLatin1StringView(spec.field));
        if (spec.titleSource == TitleSource::Column)
            column.Title.SetCaption(QString::fromUtf16(spec.title));
        column.SetAlignment(alignmentOf(spec.cell));
        column.Title.SetAlignment(alignmentOf(spec.titleAlign));
        if (spec.width > 0)
            column.SetWidth(spec.width);
        if (spec.titleFont)
            column.Title.SetFont(QString::fromLatin1(spec.titleFont), spec.titleFontHeight);
    }
}

} // namespace results
