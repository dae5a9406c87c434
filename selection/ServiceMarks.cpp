#include "module/TfrmAnalRestCont.h"

#include "module/Cli_kdr60251.h"

#include "host/app/TColors.h"
#include "host/app/TScreen.h"
#include "host/core/ScopeGuard.h"
#include "host/grid/TDBGrid.h"
#include "host/grid/TImage.h"
#include "host/grid/VirtualKey.h"

using namespace Qt::StringLiterals;
using namespace host;

namespace {

const QString kMarca = u"IDMARCADO"_s;
const QString kSim = u"S"_s;
const QString kNao = u"N"_s;

void writeMark(TClientDataSet& set, const QString& value) {
    set.Edit();
    set.FieldByName(kMarca).SetAsString(value);
    set.Post();
}

} // namespace

// Toggles the current row's mark, but only while the selection is in the mark column: the column
// passed is not looked at, so Space can pass any.
void TfrmAnalRestCont::dbgServicoCellClick(TColumn&) {
    const TField* selected = dbgServico->SelectedField();
    if (!selected || selected->FieldName() != kMarca)
        return;
    if (!cdsServico.Active() || cdsServico.IsEmpty())
        return;
    writeMark(cdsServico, cdsServico.FieldByName(kMarca).AsString() == kSim ? kNao : kSim);
}

void TfrmAnalRestCont::dbgServicoKeyDown(QObject*, int& key, TShiftState shift) {
    if (key == vk::Space)
        dbgServicoCellClick(dbgServico->Columns().Items(0));
    // The grid never gets to delete a service row.
    if (IsCtrlDelete(key, shift))
        key = 0;
}

// A click on the mark title marks or unmarks every service, alternately; a click on any title
// turns the alternation over.
void TfrmAnalRestCont::dbgServicoTitleClick(TColumn& column) {
    Screen().SetCursor(TCursor::crHourGlass);
    const ScopeGuard cursor([] { Screen().SetCursor(TCursor::crDefault); });
    if (column.FieldName() == kMarca) {
        const QString value = boDesmarcar ? kNao : kSim;
        if (cdsServico.Active()) {
            cdsServico.DisableControls();
            const ScopeGuard reattach([this] { cdsServico.EnableControls(); });
            cdsServico.First();
            while (!cdsServico.Eof()) {
                writeMark(cdsServico, value);
                cdsServico.Next();
            }
        }
        boApply = true;
    }
    boDesmarcar = !boDesmarcar;
}

// The mark column shows a box instead of the letter, on the cell's own colour.
void TfrmAnalRestCont::dbgServicoDrawColumnCell(TDBGrid& sender, const QRect& rect, int, TColumn& column,
                                                const TGridDrawState&) {
    if (column.FieldName() != kMarca)
        return;
    TBitmap bitmap;
    bitmap.Assign(cdsServico.FieldByName(kMarca).AsString() == kSim ? *imgCheck : *imgUncheck);
    TCanvas& canvas = sender.Canvas();
    canvas.FillRect(rect);
    canvas.BrushCopy(QRect(rect.left() + 8, rect.top(), bitmap.Width(), rect.height()), bitmap,
                     QRect(0, 0, bitmap.Width(), rect.height()), clOlive());
}
