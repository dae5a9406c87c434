#include "GridFixture.h"

#include "RefusalOf.h"
#include "host/app/TColors.h"
#include "host/grid/TBitmap.h"
#include "host/grid/TCanvas.h"
#include "host/grid/TImage.h"

#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace host;

namespace {

const TPixelPalette kPalette = {{'o', QColor(128, 128, 0)}, {'k', Qt::black}, {'w', Qt::white}};

// A 4 by 3 box: olive border round black and white.
TBitmap smallBox() {
    return TBitmap::FromPixelMap({"oooo", "okwo", "oooo"}, kPalette);
}

QImage canvasImage(const QColor& background) {
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(background);
    return image;
}

} // namespace

TEST(Bitmap, PixelMapsGiveTheirPaletteColoursAndRefuseWhatTheyCannotHold) {
    const TBitmap box = smallBox();
    EXPECT_EQ(box.Width(), 4);
    EXPECT_EQ(box.Height(), 3);
    EXPECT_EQ(box.Pixel(1, 1), QColor(Qt::black));
    EXPECT_EQ(box.Pixel(2, 1), QColor(Qt::white));
    EXPECT_EQ(box.Pixel(0, 0), QColor(128, 128, 0));
    EXPECT_FALSE(refusalOf([] {
                     TBitmap::FromPixelMap({"oo", "oz"}, kPalette);
                 }).isEmpty())
        << "a letter outside the palette";
    EXPECT_FALSE(refusalOf([] {
                     TBitmap::FromPixelMap({"ooo", "oo"}, kPalette);
                 }).isEmpty())
        << "ragged rows";

    TImage image(nullptr, u"imgCheck"_s);
    image.LoadPixelMap({"oooo", "okwo", "oooo"}, kPalette);
    EXPECT_TRUE(image.isHidden());
    TBitmap copy;
    copy.Assign(image);
    EXPECT_EQ(copy.Image(), box.Image()) << "a working copy equals the stored picture";
}

TEST(Canvas, BrushCopyReplacesTheTransparentColourWithTheBrushAtTheDestination) {
    QImage target = canvasImage(Qt::red);
    QPainter painter(&target);
    TCanvas canvas;
    {
        const TCanvas::Binding binding(canvas, painter);
        canvas.Brush.Color = QColor(0, 0, 128);
        canvas.BrushCopy(QRect(5, 2, 4, 3), smallBox(), QRect(0, 0, 4, 3), QColor(128, 128, 0));
    }
    painter.end();
    EXPECT_EQ(target.pixelColor(4, 2), QColor(Qt::red)) << "left of the destination is untouched";
    EXPECT_EQ(target.pixelColor(5, 2), QColor(0, 0, 128)) << "olive becomes the brush";
    EXPECT_EQ(target.pixelColor(6, 3), QColor(Qt::black));
    EXPECT_EQ(target.pixelColor(7, 3), QColor(Qt::white));
    EXPECT_EQ(target.pixelColor(8, 4), QColor(0, 0, 128));
    EXPECT_EQ(target.pixelColor(9, 3), QColor(Qt::red)) << "right of the destination is untouched";
    EXPECT_EQ(target.pixelColor(5, 5), QColor(Qt::red)) << "below the destination is untouched";
}

TEST(Canvas, BrushCopyCopiesOnlyThePartOfTheSourceThatLiesOnTheBitmap) {
    QImage target = canvasImage(Qt::red);
    QPainter painter(&target);
    TCanvas canvas;
    {
        const TCanvas::Binding binding(canvas, painter);
        canvas.Brush.Color = Qt::green;
        // A cell taller than the bitmap, and a source starting inside it.
        canvas.BrushCopy(QRect(0, 0, 3, 8), smallBox(), QRect(1, 0, 3, 8), QColor(128, 128, 0));
    }
    painter.end();
    EXPECT_EQ(target.pixelColor(0, 1), QColor(Qt::black)) << "source column 1 lands on dest column 0";
    EXPECT_EQ(target.pixelColor(1, 1), QColor(Qt::white));
    EXPECT_EQ(target.pixelColor(2, 1), QColor(Qt::green));
    EXPECT_EQ(target.pixelColor(0, 3), QColor(Qt::red)) << "below the bitmap nothing is copied";
    EXPECT_EQ(target.pixelColor(0, 7), QColor(Qt::red));
}

TEST(Canvas, DrawingOutsideAPaintingIsRefused) {
    TCanvas canvas;
    EXPECT_FALSE(canvas.Drawing());
    EXPECT_FALSE(refusalOf([&] { canvas.FillRect(QRect(0, 0, 2, 2)); }).isEmpty());
    EXPECT_FALSE(refusalOf([&] {
                     canvas.BrushCopy(QRect(0, 0, 2, 2), smallBox(), QRect(0, 0, 2, 2), Qt::black);
                 }).isEmpty());
}

// Every data cell is drawn by the grid, then handed to the event with the canvas bound and its brush
// on the cell's colour; the event's own drawing shows on screen.
TEST(DBGridDrawing, DrawEventFollowsTheDefaultDrawingWithTheCellColourInTheBrush) {
    GridFixture f;
    f.grid->SetColor(clInfoBk());
    f.grid->SetOptions(f.grid->Options() | TDBGridOption::dgAlwaysShowSelection);
    f.loadThree();
    f.grid->SetSelectedIndex(2);
    f.set->SetRecNo(2);
    struct Call {
        int row;
        int column;
        QRect rect;
        QColor brush;
        bool selected;
        bool canvas;
    };
    std::vector<Call> calls;
    const TBitmap box = smallBox();
    f.grid->OnDrawColumnCell = [&](TDBGrid& sender, const QRect& rect, int dataCol, TColumn& column,
                                   const TGridDrawState& state) {
        EXPECT_EQ(&sender, f.grid);
        EXPECT_EQ(column.Index(), dataCol);
        EXPECT_FALSE(state.fixed);
        const int row = f.grid->rowAt(rect.center().y());
        calls.push_back(
            {row, dataCol, rect, sender.Canvas().Brush.Color, state.selected, sender.Canvas().Drawing()});
        EXPECT_EQ(f.set->FieldByName(u"NMSERVICO"_s).AsString(), f.set->DisplayTextAt(row, 1))
            << "fields read the row being drawn";
        if (column.FieldName() == u"IDMARCADO"_s) {
            sender.Canvas().FillRect(rect);
            sender.Canvas().BrushCopy(QRect(rect.left() + 8, rect.top(), box.Width(), rect.height()), box,
                                      QRect(0, 0, box.Width(), rect.height()), QColor(128, 128, 0));
        }
    };
    const QImage shot = f.grid->viewport()->grab().toImage();
    ASSERT_FALSE(calls.empty());
    for (const Call& call : calls) {
        EXPECT_TRUE(call.canvas);
        const bool current = call.row == 1 && call.column == 2;
        EXPECT_EQ(call.selected, current) << "row " << call.row << " column " << call.column;
        EXPECT_EQ(call.brush, current ? f.grid->SelectionColor() : clInfoBk());
    }
    EXPECT_EQ(calls.size(), 9u) << "three rows of three columns";

    const QRect selected = f.grid->CellRect(1, 2);
    const QRect plain = f.grid->CellRect(0, 2);
    EXPECT_EQ(shot.pixelColor(selected.left() + 8, selected.top()), f.grid->SelectionColor())
        << "the olive corner takes the selection colour";
    EXPECT_EQ(shot.pixelColor(selected.left() + 9, selected.top() + 1), QColor(Qt::black));
    EXPECT_EQ(shot.pixelColor(selected.left() + 7, selected.top() + 1), f.grid->SelectionColor());
    EXPECT_EQ(shot.pixelColor(plain.left() + 8, plain.top()), clInfoBk());
    EXPECT_EQ(shot.pixelColor(plain.left() + 10, plain.top() + 1), QColor(Qt::white));
    EXPECT_TRUE(f.seam.recorder().errors.isEmpty());
}

TEST(DBGridDrawing, DefaultDrawingShowsTheTextOnTheCellColour) {
    GridFixture f;
    f.grid->SetColor(clInfoBk());
    f.loadThree();
    const QImage shot = f.grid->viewport()->grab().toImage();
    const QRect name = f.grid->CellRect(1, 1);
    bool ink = false;
    for (int x = name.left(); x < name.right(); ++x) {
        for (int y = name.top(); y < name.bottom(); ++y)
            ink = ink || shot.pixelColor(x, y).lightness() < 128;
    }
    EXPECT_TRUE(ink) << "the name is written";
    EXPECT_EQ(shot.pixelColor(name.right() - 1, name.top() + 1), clInfoBk());
    const QRect current = f.grid->CellRect(0, 0);
    EXPECT_EQ(shot.pixelColor(current.right() - 1, current.top() + 1), f.grid->SelectionColor())
        << "the current cell of the focused grid";
}

TEST(DBGridDrawing, AFailingDrawEventIsReportedOnceAfterThePainting) {
    GridFixture f;
    f.loadThree();
    f.grid->OnDrawColumnCell = [](TDBGrid&, const QRect&, int, TColumn&, const TGridDrawState&) {
        throw Refusal(u"desenho falhou"_s);
    };
    f.grid->viewport()->repaint();
    f.grid->viewport()->repaint();
    GuiDrain();
    EXPECT_EQ(f.seam.recorder().errors, QStringList{u"desenho falhou"_s});
}
