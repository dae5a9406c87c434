#include "module/Cli_kdr60251.h"
#include "module/TfrmAnalRestCont.h"

#include "host/app/ShowAviGuard.h"
#include "host/app/TApplication.h"
#include "host/app/TColors.h"
#include "host/app/TScrollBox.h"
#include "host/app/TSplitter.h"
#include "host/data/TDataSource.h"
#include "host/grid/DataSetModel.h"
#include "host/grid/TDBGrid.h"
#include "host/grid/VirtualKey.h"
#include "results/GridBuilder.h"
#include "results/RestrictionCategories.h"
#include "results/SummaryRowHint.h"

#include "results/ResultPageLayouts.h"
#include <QMainWindow>

using namespace Qt::StringLiterals;
using namespace host;
using results::RestrictionCategory;

namespace {

// A result panel: lowered inner bevel inside a 2-pixel border, holding a borderless scroll box.
TScrollBox* resultPanel(QWidget* parent, const char* panel, const char* scrollBox, TAlign align) {
    auto* frame = new TPanel(parent, QString::fromLatin1(panel));
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    frame->setLineWidth(1);
    frame->setContentsMargins(2, 2, 2, 2);
    frame->SetAlign(align);
    auto* box = new TScrollBox(frame, QString::fromLatin1(scrollBox));
    box->SetAlign(TAlign::alClient);
    return box;
}

} // namespace

void TfrmAnalRestCont::createResultGrids() {
    const TDBGridOptions options = TDBGridOptions(TDBGridOption::dgTitles) | TDBGridOption::dgColumnResize |
                                   TDBGridOption::dgColLines | TDBGridOption::dgRowLines |
                                   TDBGridOption::dgTabs | TDBGridOption::dgAlwaysShowSelection;
    for (const results::ResultPageLayout& layout : results::resultPageLayouts()) {
        TTabSheet* page = FindPage(QLatin1StringView(layout.page));
        const RestrictionCategory& category = *results::categoryByResultPage(page->Name());
        // The detail panel is docked first so that the splitter sits on top of it.
        TScrollBox* detail = resultPanel(page, layout.detailPanel, layout.detailScrollBox, TAlign::alBottom);
        detail->parentWidget()->resize(page->width(), layout.detailHeight);
        new TSplitter(page, QString::fromLatin1(layout.splitter));
        TScrollBox* summary =
            resultPanel(page, layout.summaryPanel, layout.summaryScrollBox, TAlign::alClient);

        for (const auto& [box, gridName] :
             {std::pair{summary, category.summaryGrid}, std::pair{detail, category.detailGrid}}) {
            const results::GridLayout& columns = *results::findGridLayout(QLatin1StringView(gridName));
            auto* grid = new TDBGrid(box->Content(), QLatin1StringView(gridName));
            grid->SetAlign(TAlign::alClient);
            grid->SetOptions(options);
            grid->SetColor(clInfoBk());
            grid->SetBorderStyle(TGridBorderStyle::bsNone);
            grid->SetDataSource(FindDataSource(QLatin1StringView(columns.dataSource)));
            results::BuildGridColumns(*grid, columns);
            grid->OnKeyDown = [this](QObject* sender, int& key, TShiftState shift) {
                dbgFreqPratSemKeyDown(sender, key, shift);
            };
            if (box == summary)
                grid->model().RowHint = [grid, &category](int row) {
                    const TClientDataSet* set = grid->model().DataSet();
                    return set ? results::SummaryRowHint(category, *set, row) : QString();
                };
            ResultGrids[grid->Name()] = grid;
        }

        // The page reloads its summary when the focus enters it and when it becomes the page shown;
        // the reload flag keeps that to one load per selection.
        page->OnEnter = [this, &category] { EntraPaginaResultado(category); };
        page->OnShow = [this, &category] { EntraPaginaResultado(category); };
    }
    pgcVerifica->OnChanging = [this](TPageControl& sender, bool& allowChange) {
        pgcVerificaChanging(sender, allowChange);
    };
    pgcVerifica->OnChange = [this](TPageControl& sender) { pgcVerificaChange(sender); };
}

TDBGrid* TfrmAnalRestCont::FindGrid(const QString& name) const {
    const auto found = ResultGrids.find(name);
    return found == ResultGrids.end() ? nullptr : found->second;
}

void TfrmAnalRestCont::EntraPaginaResultado(const RestrictionCategory& category) {
    if (!*category.reloadFlag)
        return;
    EsvaziaCategoria(category);
    if (!ServicoAtualMarcado())
        return;
    ShowAviGuard busy(Application().MainForm(), 6, msgPadrao->Msg(u"get_Restricoes"_s));
    if (category.span == results::Span::Week)
        CarregaDataSemana();
    CarregaResumo(category);
}

void TfrmAnalRestCont::dbgFreqPratSemKeyDown(QObject*, int& key, TShiftState shift) {
    if (IsCtrlDelete(key, shift))
        key = 0;
}
