#pragma once

#include "OwnDatabaseFixture.h"

#include "host/app/TCheckBox.h"
#include "host/app/TPageControl.h"
#include "host/app/TTabSheet.h"
#include "host/grid/TDBGrid.h"

// Every result page filled from the real server: the analysis of a service whose menu infringes all
// eleven categories, with two code masks that tell the two kinds of code apart.
class LoadedScreenTest : public OwnDatabaseScreenTest {
protected:
    static void SetUpTestSuite() {
        startOver(infringingServiceSql("ALL", "Todas", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    }
    void SetUp() override {
        OwnDatabaseScreenTest::SetUp();
        OperatorContext::instance().set(keys::kMaskKind0, u">aa-aaaa;0; "_s);
        OperatorContext::instance().set(keys::kMaskKind1, u">aaaa/aa;0; "_s);
        form = launch(QString(), u"0001"_s, u"ALL"_s, day(2026, 3, 1));
        ASSERT_NE(form, nullptr);
        checkAll();
        form->sbtVerificarClick();
        ASSERT_TRUE(seam.recorder().errors.isEmpty()) << seam.recorder().lastError().toStdString();
    }
    // The grid that shows a set.
    TDBGrid* gridOf(const TClientDataSet& set) const {
        for (const auto& [name, grid] : form->ResultGrids)
            if (grid->DataSource() && grid->DataSource()->DataSet() == &set)
                return grid;
        return nullptr;
    }
    // Brings the page of a grid to the front and paints the grid.
    QImage painted(TDBGrid* grid) {
        form->resize(1000, 700);
        form->pgcVerifica->SetActivePage(form->tshVerificar);
        for (int i = 1; i < form->pgcPadrao->GetPageCount(); ++i)
            if (form->pgcPadrao->GetPage(i)->isAncestorOf(grid))
                form->pgcPadrao->SetActivePage(form->pgcPadrao->GetPage(i));
        GuiDrain();
        return grid->viewport()->grab().toImage();
    }
};
