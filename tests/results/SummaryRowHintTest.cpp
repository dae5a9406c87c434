#include "FaultyFront.h"
#include "OwnDatabaseFixture.h"

#include "host/app/TCheckBox.h"
#include "host/app/TPageControl.h"
#include "host/app/TTabSheet.h"
#include "host/grid/DataSetModel.h"
#include "host/grid/TDBGrid.h"
#include "reasons/Reasons.h"
#include "results/RestrictionCategories.h"
#include "server/RemoteDataModule.h"

#include <QCoreApplication>
#include <QHelpEvent>
#include <QToolTip>

namespace {

// A service whose menu infringes all eleven categories, analysed through a front that passes every
// call on to the real server and keeps a list of them.
class SummaryRowHintTest : public OwnDatabaseScreenTest {
protected:
    static void SetUpTestSuite() {
        startOver(infringingServiceSql("ALL", "Todas", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    }
    void SetUp() override {
        OwnDatabaseScreenTest::SetUp();
        useServer(front->port());
        form = launch(QString(), u"0001"_s, u"ALL"_s, day(2026, 3, 1));
        ASSERT_NE(form, nullptr);
        checkAll();
        form->sbtVerificarClick();
        ASSERT_TRUE(seam.recorder().errors.isEmpty()) << seam.recorder().lastError().toStdString();
        form->resize(1000, 700);
        form->pgcVerifica->SetActivePage(form->tshVerificar);
    }
    void showPageOf(TDBGrid* grid) {
        for (int i = 1; i < form->pgcPadrao->GetPageCount(); ++i)
            if (form->pgcPadrao->GetPage(i)->isAncestorOf(grid))
                form->pgcPadrao->SetActivePage(form->pgcPadrao->GetPage(i));
        GuiDrain();
    }
    // The tool tip the grid shows for the mouse resting on a row.
    static QString toolTipAt(TDBGrid* grid, int row) {
        QToolTip::hideText();
        const QPoint at = grid->visualRect(grid->model().index(row, 0)).center();
        QHelpEvent event(QEvent::ToolTip, at, grid->viewport()->mapToGlobal(at));
        QCoreApplication::sendEvent(grid->viewport(), &event);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    }
    // The summary the tool answers from the same database, in process: the sentences it prints.
    proto::Packet summaryPacket(const results::RestrictionCategory& category) {
        server::RemoteDataModule module(database->pathString());
        server::SessionState session;
        nlohmann::json span{"2026-03-01", "2026-03-31"};
        if (category.span == results::Span::Week) {
            const proto::Packet weeks = module.call("GetDataSemana", span, session).packet;
            span = {proto::valueToJson(weeks.rows.at(0).at(0)), proto::valueToJson(weeks.rows.at(0).at(1))};
        }
        return module.call(category.summaryMethod, {"0001", "ALL", span[0], span[1]}, session).packet;
    }

    std::unique_ptr<FaultyFront> front = std::make_unique<FaultyFront>(server->port());
};

TEST_F(SummaryRowHintTest, EachSummaryRowSaysWhyFromItsOwnFieldsWithoutAskingTheServer) {
    // Every page entered once, so that what follows would show any call the tool tips made.
    for (const results::RestrictionCategory& category : results::restrictionCategories())
        showPageOf(form->FindGrid(QString::fromLatin1(category.summaryGrid)));
    ASSERT_TRUE(seam.recorder().errors.isEmpty()) << seam.recorder().lastError().toStdString();
    const std::vector<std::string> calls = front->methods();

    for (const results::RestrictionCategory& category : results::restrictionCategories()) {
        SCOPED_TRACE(category.summaryMethod);
        TDBGrid* grid = form->FindGrid(QString::fromLatin1(category.summaryGrid));
        showPageOf(grid);
        const proto::Packet expected = summaryPacket(category);
        ASSERT_GT(expected.rows.size(), 0u);
        ASSERT_EQ(grid->model().rowCount(), static_cast<int>(expected.rows.size()));
        for (std::size_t row = 0; row < expected.rows.size(); ++row) {
            const QString hint = toolTipAt(grid, static_cast<int>(row));
            const QString why =
                reasons::rowReason(category.summaryMethod, expected, row, QLocale(u"pt_BR"_s));
            EXPECT_EQ(grid->model().data(grid->model().index(static_cast<int>(row), 1), Qt::ToolTipRole),
                      why);
            EXPECT_EQ(hint, why);
            EXPECT_FALSE(hint.contains(u'?')) << hint.toStdString();
        }
        // The detail grid under it has no sentence of its own.
        TDBGrid* detail = form->FindGrid(QString::fromLatin1(category.detailGrid));
        if (detail->model().rowCount() > 0) {
            EXPECT_FALSE(detail->model().data(detail->model().index(0, 0), Qt::ToolTipRole).isValid());
        }
    }
    EXPECT_EQ(front->methods(), calls);
}

// The sentence follows the host's format settings, not the machine's locale.
TEST_F(SummaryRowHintTest, FollowsTheFormatSettings) {
    const results::RestrictionCategory& nutrients = *results::categoryBySummarySet(u"cdsLimNutri"_s);
    TDBGrid* grid = form->FindGrid(QString::fromLatin1(nutrients.summaryGrid));
    showPageOf(grid);
    const proto::Packet expected = summaryPacket(nutrients);
    ASSERT_GT(expected.rows.size(), 0u);
    OperatorContext::instance().set(keys::kFormatLocale, u"en_US"_s);
    EXPECT_EQ(toolTipAt(grid, 0), reasons::rowReason("GetLimNutri", expected, 0, QLocale(u"en_US"_s)));
    OperatorContext::instance().set(keys::kFormatLocale, u"pt_BR"_s);
    EXPECT_EQ(toolTipAt(grid, 0), reasons::rowReason("GetLimNutri", expected, 0, QLocale(u"pt_BR"_s)));
}

} // namespace
