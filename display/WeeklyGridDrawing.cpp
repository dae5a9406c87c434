#include "display/Bindings.h"
#include "module/TfrmAnalRestCont.h"

#include "host/app/TColors.h"
#include "host/grid/TDBGrid.h"
#include "host/grid/TImage.h"

using namespace Qt::StringLiterals;
using namespace host;

namespace {

// The day flags, Monday first; each box sits this far from the cell's left edge.
constexpr struct {
    const char* field;
    int offset;
} kDays[] = {{"IDUTPRATSEG", 4}, {"IDUTPRATTER", 4}, {"IDUTPRATQUA", 4}, {"IDUTPRATQUI", 4},
             {"IDUTPRATSEX", 4}, {"IDUTPRATSAB", 4}, {"IDUTPRATDOM", 5}};

// The grids whose drawing passes through the weekly grid's event.
constexpr const char* kDrawnGrids[] = {"dbgUtilPratSem", "DBGrid1", "DBGrid6", "DBGrid8", "DBGrid10"};

} // namespace

void TfrmAnalRestCont::dbgUtilPratSemDrawColumnCell(TDBGrid& sender, const QRect& rect, int, TColumn& column,
                                                    const TGridDrawState&) {
    for (const auto& day : kDays) {
        if (column.FieldName() != QLatin1StringView(day.field))
            continue;
        const QString flag = cdsUtilPratSem.FieldByName(QLatin1StringView(day.field)).AsString();
        const TImage* image = flag == u"S"_s ? imgCheck : flag == u"N"_s ? imgUncheck : nullptr;
        TCanvas& canvas = sender.Canvas();
        canvas.FillRect(rect);
        if (!image)
            return;
        TBitmap bitmap;
        bitmap.Assign(*image);
        canvas.BrushCopy(QRect(rect.left() + day.offset, rect.top(), bitmap.Width(), rect.height()), bitmap,
                         QRect(0, 0, bitmap.Width(), rect.height()), clOlive());
        return;
    }
}

namespace display {

void BindWeeklyGridDrawing(TfrmAnalRestCont& form) {
    for (const char* name : kDrawnGrids)
        form.FindGrid(QLatin1StringView(name))->OnDrawColumnCell = [&form](TDBGrid& sender, const QRect& rect,
                                                                           int dataCol, TColumn& column,
                                                                           const TGridDrawState& state) {
            form.dbgUtilPratSemDrawColumnCell(sender, rect, dataCol, column, state);
        };
}

} // namespace display
