#include "ModuleFixture.h"

#include "host/app/TApplication.h"
#include "host/app/TPageControl.h"
#include "host/app/TPanel.h"
#include "host/app/TScrollBox.h"
#include "host/app/TSplitter.h"
#include "host/app/TTabSheet.h"
#include "host/context/OperatorContext.h"
#include "host/context/SettingsKeys.h"
#include "host/grid/TDBGrid.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace host;

namespace {

struct PageLayout {
    const char* page;
    const char* summaryPanel;
    const char* summaryBox;
    const char* splitter;
    const char* detailPanel;
    const char* detailBox;
    int detailHeight;
    const char* summaryGrid;
    const char* detailGrid;
};

void PrintTo(const PageLayout& l, std::ostream* os) {
    *os << l.page;
}

// Every result page, top to bottom: the summary panel taking what is left, a 3-pixel splitter, the
// detail panel docked at the bottom with its own height; each panel a lowered bevel inside a
// 2-pixel border around a borderless scroll box that holds the grid. The splitter shares the height.
class ResultPageLayoutTest : public ModuleTest, public ::testing::WithParamInterface<PageLayout> {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        // Nothing listens there: the first activation stops at its connection.
        OperatorContext::instance().set(keys::kServerPort, u"1"_s);
        form = Application().CreateForm<TfrmAnalRestCont>();
        form->Show();
        form->resize(900, 600);
        GuiDrain();
    }
    void TearDown() override {
        delete form.data();
        OperatorContext::instance().clear();
        ModuleTest::TearDown();
    }
    template <typename W> W* child(QWidget* parent, const char* name) {
        return parent->findChild<W*>(QLatin1StringView(name), Qt::FindDirectChildrenOnly);
    }
    QPointer<TfrmAnalRestCont> form;
};

TEST_P(ResultPageLayoutTest, SummarySplitterAndDetailStackUpAsTheTableSays) {
    const PageLayout& l = GetParam();
    TTabSheet* page = form->FindPage(QLatin1StringView(l.page));
    ASSERT_NE(page, nullptr);
    page->SetVisible(true);
    page->SetTabVisible(true);
    form->pgcVerifica->SetActivePage(form->tshVerificar);
    form->pgcPadrao->SetActivePage(page);
    GuiDrain();

    auto* summary = child<TPanel>(page, l.summaryPanel);
    auto* splitter = child<TSplitter>(page, l.splitter);
    auto* detail = child<TPanel>(page, l.detailPanel);
    ASSERT_TRUE(summary && splitter && detail);
    for (TPanel* panel : {summary, detail}) {
        EXPECT_EQ(panel->frameShadow(), QFrame::Sunken) << panel->objectName().toStdString();
        EXPECT_EQ(panel->contentsMargins(), QMargins(2, 2, 2, 2)) << panel->objectName().toStdString();
    }
    auto* summaryBox = child<TScrollBox>(summary, l.summaryBox);
    auto* detailBox = child<TScrollBox>(detail, l.detailBox);
    ASSERT_TRUE(summaryBox && detailBox);
    for (TScrollBox* box : {summaryBox, detailBox})
        EXPECT_EQ(box->frameShape(), QFrame::NoFrame) << box->objectName().toStdString();
    EXPECT_TRUE(summaryBox->isAncestorOf(form->FindGrid(QLatin1StringView(l.summaryGrid))));
    EXPECT_TRUE(detailBox->isAncestorOf(form->FindGrid(QLatin1StringView(l.detailGrid))));

    const QRect area = page->rect();
    EXPECT_EQ(summary->geometry().top(), area.top());
    EXPECT_EQ(splitter->geometry().top(), summary->geometry().bottom() + 1);
    EXPECT_EQ(splitter->height(), 3);
    EXPECT_EQ(detail->geometry().top(), splitter->geometry().bottom() + 1);
    EXPECT_EQ(detail->height(), l.detailHeight);
    EXPECT_EQ(detail->geometry().bottom(), area.bottom());
    for (QWidget* piece :
         {static_cast<QWidget*>(summary), static_cast<QWidget*>(splitter), static_cast<QWidget*>(detail)})
        EXPECT_EQ(piece->width(), area.width()) << piece->objectName().toStdString();

    // Dragging the splitter 20 pixels up gives the detail 20 more, taken from the summary.
    const int summaryHeight = summary->height();
    const QPoint grip(splitter->width() / 2, 1);
    QTest::mousePress(splitter, Qt::LeftButton, {}, grip);
    QTest::mouseMove(splitter, grip - QPoint(0, 20));
    QTest::mouseRelease(splitter, Qt::LeftButton, {}, grip - QPoint(0, 20));
    EXPECT_EQ(detail->height(), l.detailHeight + 20);
    EXPECT_EQ(summary->height(), summaryHeight - 20);
    EXPECT_EQ(detail->geometry().bottom(), area.bottom());
}

INSTANTIATE_TEST_SUITE_P(
    Pages, ResultPageLayoutTest,
    ::testing::Values(PageLayout{"tshFreqPratSem", "panFrqPratSem", "scbFreqPratSem", "Splitter1", "Panel2",
                                 "ScrollBox1", 90, "dbgFreqPratSem", "dbgFreqPratS"},
                      PageLayout{"tshFreqPratMes", "panFreqPratMes", "scbFreqPratMes", "Splitter2", "Panel5",
                                 "ScrollBox4", 89, "dbgFreqPratMes", "dbgFreqPraM"},
                      PageLayout{"tshFreqOpcaSem", "panFreqOpcaSEm", "scbFreqOpcaSem", "Splitter3", "Panel7",
                                 "ScrollBox6", 89, "dbgFreqOpcaSem", "DBGrid3"},
                      PageLayout{"tshFreqOpcaMes", "panFreqOpcaMes", "scbFreqOpcaMes", "Splitter4", "Panel9",
                                 "ScrollBox8", 89, "dbgFreqOpcaMes", "DBGrid5"},
                      PageLayout{"tshRestPratMes", "panRestPratMes", "scbRestPratMes", "Splitter5", "Panel11",
                                 "ScrollBox10", 88, "dbgRestPraMes", "DBGrid2"},
                      PageLayout{"tshRestOpcaMes", "panRestOpcaMes", "scbRestOpcaMes", "Splitter6", "Panel13",
                                 "ScrollBox12", 89, "dbgRestOpcaMes", "dbgRestOpca"},
                      PageLayout{"tshUtilPratSem", "panUtilPratSem", "scbUtilPratSem", "Splitter7", "Panel15",
                                 "ScrollBox14", 90, "dbgUtilPratSem", "dbgUtilPratSemDet"},
                      PageLayout{"tshLimNutri", "Panel3", "ScrollBox2", "Splitter8", "Panel6", "ScrollBox5",
                                 96, "DBGrid1", "DBGrid4"},
                      PageLayout{"tshLimPerPrat", "Panel8", "ScrollBox7", "Splitter9", "Panel10",
                                 "ScrollBox9", 96, "DBGrid6", "DBGrid7"},
                      PageLayout{"tshLimPerSer", "Panel12", "ScrollBox11", "Splitter10", "Panel14",
                                 "ScrollBox13", 96, "DBGrid8", "DBGrid9"},
                      PageLayout{"tshRestProd", "Panel16", "ScrollBox15", "Splitter11", "Panel17",
                                 "ScrollBox16", 96, "DBGrid10", "DBGrid11"}),
    [](const auto& row) { return std::string(row.param.page); });

} // namespace
