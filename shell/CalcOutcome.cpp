#include "shell/CalcOutcome.h"

#include "host/app/TForm.h"
#include "host/app/TPageControl.h"
#include "host/app/TTabSheet.h"
#include "host/data/TClientDataSet.h"
#include "host/data/TDataSource.h"
#include "host/grid/DataSetModel.h"
#include "host/grid/TDBGrid.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace shell {

namespace {

// The summary grid of a result page is the one above the detail grid.
host::TDBGrid* summaryGrid(host::TTabSheet& page) {
    QList<host::TDBGrid*> grids = page.findChildren<host::TDBGrid*>();
    if (grids.isEmpty())
        return nullptr;
    return *std::min_element(grids.begin(), grids.end(), [&page](host::TDBGrid* a, host::TDBGrid* b) {
        return a->mapTo(&page, QPoint()).y() < b->mapTo(&page, QPoint()).y();
    });
}

// A contract bound left empty sets no limit: printed empty it would read as a value lost on the way.
bool isBound(const QString& field) {
    for (const QString& prefix : {u"QTMINLIM"_s, u"QTMAXLIM"_s, u"NRMIN"_s, u"NRMAX"_s})
        if (field.startsWith(prefix))
            return true;
    return false;
}

QString rowText(const host::TDBGrid& grid, int row) {
    const host::DataSetModel& model = grid.model();
    QStringList cells;
    for (int column = 0; column < model.columnCount(); ++column) {
        const QString title = model.headerData(column, Qt::Horizontal).toString();
        QString text = model.data(model.index(row, column)).toString().trimmed();
        if (text.isEmpty() && column < grid.Columns().Count() && isBound(grid.Columns()[column].FieldName()))
            text = u"sem limite"_s;
        cells << u"%1: %2"_s.arg(title, text);
    }
    return cells.join(u"; "_s);
}

} // namespace

CalcOutcome calcOutcome(bool activationCompleted, bool cell) {
    if (!activationCompleted)
        return CalcOutcome::Failed;
    return cell ? CalcOutcome::Clear : CalcOutcome::Blocked;
}

QString describe(CalcOutcome outcome) {
    switch (outcome) {
    case CalcOutcome::Clear:
        return u"Resultado do cálculo: cardápio liberado (nenhuma restrição contratual infringida)."_s;
    case CalcOutcome::Blocked:
        return u"Resultado do cálculo: operação bloqueada (o cardápio infringiu as restrições contratuais)."_s;
    case CalcOutcome::Failed:
        break;
    }
    return u"Resultado do cálculo: a análise não foi concluída; o cardápio não foi julgado."_s;
}

QString infringementsText(const host::TForm& form) {
    auto* pages = form.findChild<host::TPageControl*>(u"pgcPadrao"_s);
    if (!pages)
        return {};
    QString text;
    // The first page is the service list, not a result.
    for (int i = 1; i < pages->GetPageCount(); ++i) {
        host::TTabSheet& page = *pages->GetPage(i);
        host::TDBGrid* grid = page.Shown() ? summaryGrid(page) : nullptr;
        if (!grid || grid->model().rowCount() == 0)
            continue;
        text += page.Caption() + u'\n';
        for (int row = 0; row < grid->model().rowCount(); ++row)
            text += u"  "_s + rowText(*grid, row) + u'\n';
    }
    return text;
}

QString missingServiceText(const host::TForm& form, const QString& service, const QString& branch) {
    const auto* grid = form.findChild<host::TDBGrid*>(u"dbgServico"_s);
    const host::TClientDataSet* services =
        grid && grid->DataSource() ? grid->DataSource()->DataSet() : nullptr;
    const host::TField* code = services ? services->FindField(u"CDSERVFILI"_s) : nullptr;
    if (!code)
        return {};
    for (int row = 0; row < services->RecordCount(); ++row) {
        const auto* text = std::get_if<QString>(&services->CellAt(row, code->Index()));
        // The screen marks the launch service whatever its letter case.
        if (text && text->compare(service, Qt::CaseInsensitive) == 0)
            return {};
    }
    return u"O serviço '%1' não existe na filial '%2'."_s.arg(service, branch);
}

} // namespace shell
