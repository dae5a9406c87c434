#include "module/TfrmAnalRestCont.h"

#include "module/Cli_kdr60251.h"
#include "results/GridBuilder.h"
#include "selection/ServiceMarkImages.h"

#include "host/app/TColors.h"
#include "host/app/TPanel.h"
#include "host/app/TTabSheet.h"
#include "host/grid/TDBGrid.h"
#include "host/grid/TDBNavigator.h"
#include "host/grid/TDBText.h"
#include "host/grid/TImage.h"

using namespace Qt::StringLiterals;
using namespace host;

// The services grid on the services page, the two mark images, and the navigator with the current
// service's name along the bottom of the form.
void TfrmAnalRestCont::createServiceList() {
    dbgServico = new TDBGrid(tshServicos, u"dbgServico"_s);
    dbgServico->SetAlign(TAlign::alClient);
    dbgServico->SetColor(clInfoBk());
    dbgServico->SetBorderStyle(TGridBorderStyle::bsNone);
    dbgServico->SetOptions(TDBGridOptions(TDBGridOption::dgTitles) | TDBGridOption::dgColumnResize |
                           TDBGridOption::dgColLines | TDBGridOption::dgRowLines | TDBGridOption::dgTabs |
                           TDBGridOption::dgAlwaysShowSelection);
    dbgServico->SetDataSource(&dtsServico__);
    results::BuildGridColumns(*dbgServico, *results::findGridLayout(u"dbgServico"_s));

    // Stores of one picture each; the options panel hides them, the form holds them without one.
    QWidget* imageParent = panRestricoes ? static_cast<QWidget*>(panRestricoes) : static_cast<QWidget*>(this);
    imgCheck = new TImage(imageParent, u"imgCheck"_s);
    imgCheck->LoadPixelMap(selection::checkPixels(), selection::markPalette());
    imgUncheck = new TImage(imageParent, u"imgUncheck"_s);
    imgUncheck->LoadPixelMap(selection::uncheckPixels(), selection::markPalette());

    dbnPadrao = new TDBNavigator(panNavigator, u"dbnPadrao"_s);
    dbnPadrao->SetVisibleButtons(TNavigateButtons(TNavigateBtn::nbFirst) | TNavigateBtn::nbPrior |
                                 TNavigateBtn::nbNext | TNavigateBtn::nbLast);
    dbnPadrao->SetFlat(true);
    dbnPadrao->SetDataSource(&dtsServico__);
    dbnPadrao->SetBounds(4, 2, 100, 24);

    dbtNome = new TDBText(panNavigator, u"dbtNome"_s);
    dbtNome->SetBold(true);
    dbtNome->SetDataSource(&dtsServico__);
    dbtNome->SetDataField(u"NMSERVICO"_s);
    dbtNome->SetBounds(112, 6, 400, 17);

    dbgServico->OnCellClick = [this](TColumn& column) { dbgServicoCellClick(column); };
    dbgServico->OnKeyDown = [this](QObject* sender, int& key, TShiftState shift) {
        dbgServicoKeyDown(sender, key, shift);
    };
    dbgServico->OnTitleClick = [this](TColumn& column) { dbgServicoTitleClick(column); };
    dbgServico->OnDrawColumnCell = [this](TDBGrid& sender, const QRect& rect, int dataCol, TColumn& column,
                                          const TGridDrawState& state) {
        dbgServicoDrawColumnCell(sender, rect, dataCol, column, state);
    };
    cdsServico.AfterScroll = [this](TClientDataSet& dataSet) { cdsServicoAfterScroll(dataSet); };
}
