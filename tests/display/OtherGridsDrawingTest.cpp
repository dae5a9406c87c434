#include "LoadedScreenFixture.h"

namespace {

class OtherGridsDrawing : public LoadedScreenTest {
protected:
    // The grid painted with its drawing event, then without it; the event is put back.
    std::pair<QImage, QImage> paintedWithAndWithout(TDBGrid* grid) {
        const QImage withEvent = painted(grid);
        const auto event = grid->OnDrawColumnCell;
        grid->OnDrawColumnCell = nullptr;
        grid->viewport()->update();
        const QImage without = painted(grid);
        grid->OnDrawColumnCell = event;
        return {withEvent, without};
    }
};

// The weekly grid's drawing event is attached to four more summary grids, where it must draw nothing
// of its own: each looks exactly as it does with the event taken away. In the weekly grid itself only
// the day columns change.
TEST_F(OtherGridsDrawing, GridsWithoutDayColumnsLookAsWithoutTheEvent) {
    for (const char* name : {"DBGrid1", "DBGrid6", "DBGrid8", "DBGrid10"}) {
        SCOPED_TRACE(name);
        TDBGrid* grid = form->FindGrid(QLatin1StringView(name));
        ASSERT_NE(grid, nullptr);
        ASSERT_FALSE(grid->DataSource()->DataSet()->IsEmpty()) << "rows to draw";
        ASSERT_TRUE(grid->OnDrawColumnCell) << "the event is attached";
        const auto [withEvent, without] = paintedWithAndWithout(grid);
        EXPECT_TRUE(withEvent == without) << "drawn as without the event";
    }
}

TEST_F(OtherGridsDrawing, TheWeeklyGridChangesItsDayColumnsOnly) {
    TDBGrid* grid = form->FindGrid(u"dbgUtilPratSem"_s);
    ASSERT_FALSE(form->cdsUtilPratSem.IsEmpty());
    const auto [withEvent, without] = paintedWithAndWithout(grid);
    for (int column = 0; column < grid->Columns().Count(); ++column) {
        const QString field = grid->Columns()[column].FieldName();
        const QRect rect = grid->CellRect(0, column);
        const bool same = withEvent.copy(rect) == without.copy(rect);
        EXPECT_EQ(same, !field.startsWith(u"IDUTPRAT"_s)) << field.toStdString();
    }
}

} // namespace
