#include "GridFixture.h"

#include "host/core/Refusal.h"
#include "host/grid/DataSetModel.h"
#include "host/grid/VirtualKey.h"

#include <QAbstractItemModelTester>
#include <QFontInfo>
#include <QFontMetrics>
#include <QHeaderView>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace host;

namespace {

QString cellText(const TDBGrid& grid, int row, int column) {
    return grid.model().data(grid.model().index(row, column)).toString();
}

} // namespace

TEST(DBGrid, ModelFollowsTheRecordSetThroughLoadsMovesAndEdits) {
    GridFixture f;
    QAbstractItemModelTester tester(&f.grid->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(f.grid->model().rowCount(), 0) << "an unopened set shows no rows";

    f.loadThree();
    ASSERT_EQ(f.grid->model().rowCount(), 3);
    ASSERT_EQ(f.grid->model().columnCount(), 3);
    EXPECT_EQ(cellText(*f.grid, 1, 1), u"Jantar"_s);
    EXPECT_EQ(f.grid->currentIndex().row(), 0) << "a load stands on the first row";

    f.set->SetRecNo(3);
    EXPECT_EQ(f.grid->currentIndex().row(), 2) << "the grid follows the set's moves";

    f.set->Edit();
    f.set->FieldByName(u"NMSERVICO"_s).SetAsString(u"Ceia noturna"_s);
    f.set->Post();
    EXPECT_EQ(cellText(*f.grid, 2, 1), u"Ceia noturna"_s);

    f.load({{"010", "Lanche", "N"}});
    EXPECT_EQ(f.grid->model().rowCount(), 1) << "a reload replaces the rows";
    EXPECT_EQ(cellText(*f.grid, 0, 0), u"010"_s);
    EXPECT_EQ(f.grid->currentIndex().row(), 0);

    f.set->EmptyDataSet();
    EXPECT_EQ(f.grid->model().rowCount(), 0);
    EXPECT_FALSE(f.grid->currentIndex().isValid());
}

TEST(DBGrid, TitlesAreTheFieldLabelsUnlessTheColumnSetsItsOwn) {
    GridFixture f;
    f.loadThree();
    const auto title = [&](int column) {
        return f.grid->model().headerData(column, Qt::Horizontal).toString();
    };
    EXPECT_EQ(title(0), u"Código"_s);
    EXPECT_EQ(title(1), u"Nome do Serviço"_s);
    EXPECT_EQ(title(2), u"IDMARCADO"_s) << "a field with no label shows its name";
    f.grid->Columns().Items(2).Title.SetCaption(u"4"_s);
    f.grid->Columns().Items(2).Title.SetFont(u"Monotype Sorts"_s, -12);
    // The symbol font is not on the machine: its check mark is drawn from a font that has it.
    EXPECT_EQ(title(2), u"\u2714"_s);
    const QFont mark = f.grid->model().headerData(2, Qt::Horizontal, Qt::FontRole).value<QFont>();
    EXPECT_EQ(mark.pixelSize(), 12);
    EXPECT_EQ(mark.family(), u"DejaVu Sans"_s);
    EXPECT_TRUE(QFontMetrics(mark).inFontUcs4(0x2714));
    EXPECT_TRUE(QFontInfo(mark).exactMatch()) << "no silent substitution";
    EXPECT_EQ(f.grid->Columns().Items(0).Width(), 51);
    EXPECT_EQ(f.grid->columnWidth(2), 31);
}

// Dish types and counts as the result grids show them: a text, a number, and the number again in a
// column that sets its own alignment.
struct CountsGrid {
    GuiDialogSeam seam;
    host::TClientDataSet set{u"cdsFreqPratSem"_s};
    host::TDataSource source;
    host::TForm* form = host::Application().CreateForm<host::TForm>();
    host::TDBGrid* grid = new host::TDBGrid(form, u"dbgFreqPratSem"_s);

    CountsGrid() {
        set.AddStringField(u"NMTIPOPRAT"_s, 30).SetDisplayLabel(u"Tipo"_s);
        set.AddFloatField(u"NRPRATSEMANA"_s).SetDisplayLabel(u"Nº de Pratos"_s);
        source.SetDataSet(&set);
        for (const char* name : {"NMTIPOPRAT", "NRPRATSEMANA", "NRPRATSEMANA"})
            grid->Columns().Add().SetFieldName(QString::fromLatin1(name));
        grid->Columns().Items(0).SetWidth(60);
        grid->Columns().Items(1).SetWidth(20);
        grid->Columns().Items(2).SetWidth(300);
        grid->Columns().Items(2).SetAlignment(TAlignment::taLeftJustify);
        grid->SetDataSource(&source);
        grid->SetBounds(0, 0, 500, 200);
        form->SetClientSize(500, 200);
        form->Show();
        GuiDrain();
    }
    ~CountsGrid() { delete form; }
    void load(const char* type, double count) {
        proto::Packet packet;
        packet.fields = {{"NMTIPOPRAT", proto::FieldType::String, 30},
                         {"NRPRATSEMANA", proto::FieldType::Float, 0}};
        packet.rows.push_back({std::string(type), count});
        set.LoadPacket(packet);
        GuiDrain();
    }
    Qt::Alignment alignment(int column) const {
        return grid->model()
            .data(grid->model().index(0, column), Qt::TextAlignmentRole)
            .value<Qt::Alignment>();
    }
    int advance(const QString& text) const { return grid->fontMetrics().horizontalAdvance(text); }
};

TEST(DBGrid, NumbersAreRightAlignedUnlessTheColumnSaysOtherwise) {
    CountsGrid g;
    g.load("Prato principal", 12);
    EXPECT_TRUE(g.alignment(0) & Qt::AlignLeft);
    EXPECT_TRUE(g.alignment(1) & Qt::AlignRight) << "a float field's own alignment";
    EXPECT_TRUE(g.alignment(2) & Qt::AlignLeft) << "the column's alignment wins";
}

TEST(DBGrid, AColumnWidensToItsTitleAndValuesAndKeepsItsWidthAsTheLeast) {
    CountsGrid g;
    g.load("Guarnição de legumes do dia", 1234567);
    EXPECT_GT(g.grid->columnWidth(0), g.advance(u"Guarnição de legumes do dia"_s)) << "the value is not cut";
    EXPECT_GT(g.grid->columnWidth(1), g.advance(u"Nº de Pratos"_s)) << "the title is not cut";
    EXPECT_EQ(g.grid->columnWidth(2), 300) << "the declared width is the least";
    g.load("Sopa", 1);
    EXPECT_EQ(g.grid->columnWidth(0), 60) << "short values keep the declared width";
    // A width the user dragged stays as he left it.
    g.grid->horizontalHeader()->resizeSection(0, 25);
    g.load("Guarnição de legumes do dia", 2);
    EXPECT_EQ(g.grid->columnWidth(0), 25);
}

TEST(DBGrid, AFieldsDisplayWidthSetsItsColumnsDefaultWidth) {
    GridFixture f;
    f.loadThree();
    const int before = f.grid->columnWidth(1);
    f.set->FieldByName(u"NMSERVICO"_s).DisplayWidth = 8;
    f.grid->Columns().Items(1).SetAlignment(TAlignment::taLeftJustify); // any change lays the grid out again
    EXPECT_LT(f.grid->columnWidth(1), before);
    EXPECT_GE(f.grid->columnWidth(1), 8 * f.grid->fontMetrics().averageCharWidth());
}

TEST(DBGrid, ClickMovesTheCurrentRowBeforeTheCellClickIsRaised) {
    GridFixture f;
    f.loadThree();
    f.grid->OnCellClick = [&](TColumn& column) {
        f.log << u"click %1 row %2"_s.arg(column.FieldName()).arg(f.set->RecNo());
    };
    QTest::mouseClick(f.grid->viewport(), Qt::LeftButton, {}, f.cellCentre(2, 2));
    EXPECT_EQ(f.log, (QStringList{u"scroll 3"_s, u"click IDMARCADO row 3"_s}));
    EXPECT_EQ(f.grid->SelectedIndex(), 2);
    ASSERT_NE(f.grid->SelectedField(), nullptr);
    EXPECT_EQ(f.grid->SelectedField()->FieldName(), u"IDMARCADO"_s);

    f.log.clear();
    QTest::mouseClick(f.grid->viewport(), Qt::LeftButton, {}, f.cellCentre(2, 0));
    EXPECT_EQ(f.log, QStringList{u"click CDSERVFILI row 3"_s})
        << "same row: no scroll, the click still comes";
    EXPECT_EQ(f.grid->SelectedIndex(), 0);
}

TEST(DBGrid, FailingAfterScrollOnAClickReachesTheErrorDisplayAndTheGridShowsTheSetsRow) {
    GridFixture f;
    f.loadThree();
    f.set->AfterScroll = [](TClientDataSet&) { throw Refusal(u"falhou ao rolar"_s); };
    QTest::mouseClick(f.grid->viewport(), Qt::LeftButton, {}, f.cellCentre(1, 1));
    EXPECT_EQ(f.seam.recorder().errors, QStringList{u"falhou ao rolar"_s});
    EXPECT_EQ(f.grid->currentIndex().row(), f.set->RecNo() - 1);
}

TEST(DBGrid, KeyDownSeesVirtualKeysAndShiftStateAndCanDiscardTheKey) {
    GridFixture f;
    f.loadThree();
    std::vector<std::pair<int, unsigned>> seen;
    int discard = -1;
    f.grid->OnKeyDown = [&](QObject* sender, int& key, TShiftState shift) {
        EXPECT_EQ(sender, f.grid);
        // The modifier keys come down first, as keys of their own.
        if (key != vk::Shift && key != vk::Control)
            seen.emplace_back(key, shift.Bits());
        if (key == discard)
            key = 0;
    };
    QTest::keyClick(f.grid, Qt::Key_Space);
    QTest::keyClick(f.grid, Qt::Key_Delete, Qt::ControlModifier);
    QTest::keyClick(f.grid, Qt::Key_Delete, Qt::ControlModifier | Qt::KeypadModifier);
    QTest::keyClick(f.grid, Qt::Key_Delete, Qt::ControlModifier | Qt::ShiftModifier);
    const unsigned ctrl = TShiftState(TShift::ssCtrl).Bits();
    const unsigned ctrlShift = (TShift::ssCtrl | TShift::ssShift).Bits();
    EXPECT_EQ(seen, (std::vector<std::pair<int, unsigned>>{
                        {vk::Space, 0}, {vk::Delete, ctrl}, {vk::Delete, ctrl}, {vk::Delete, ctrlShift}}))
        << "the keypad is not a modifier";
    EXPECT_EQ(f.set->RecordCount(), 3) << "a read-only grid deletes nothing";
    EXPECT_TRUE(f.log.isEmpty());

    discard = vk::Down;
    QTest::keyClick(f.grid, Qt::Key_Down);
    EXPECT_EQ(f.set->RecNo(), 1) << "a discarded key is not handled by the grid";

    discard = -1;
    QTest::keyClick(f.grid, Qt::Key_Down);
    EXPECT_EQ(f.set->RecNo(), 2);
    EXPECT_EQ(f.log, QStringList{u"scroll 2"_s});

    QTest::keyClick(f.grid, Qt::Key_C);
    EXPECT_EQ(f.set->RecNo(), 2) << "typing never searches the rows";
    EXPECT_EQ(seen.back().first, int('C'));
}

TEST(DBGrid, AFailingKeyHandlerEndsTheKeyAndIsReported) {
    GridFixture f;
    f.loadThree();
    f.grid->OnKeyDown = [](QObject*, int&, TShiftState) { throw Refusal(u"tecla recusada"_s); };
    QTest::keyClick(f.grid, Qt::Key_Down);
    EXPECT_EQ(f.seam.recorder().errors, QStringList{u"tecla recusada"_s});
    EXPECT_EQ(f.set->RecNo(), 1);
}

TEST(DBGrid, TitleClickNamesTheColumnAndLeavesTheCurrentCell) {
    GridFixture f;
    f.loadThree();
    f.set->SetRecNo(2);
    f.log.clear();
    QStringList titles;
    f.grid->OnTitleClick = [&](TColumn& column) { titles << column.FieldName(); };
    QHeaderView* header = f.grid->horizontalHeader();
    const auto titleCentre = [&](int column) {
        return QPoint(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                      header->height() / 2);
    };
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, titleCentre(2));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, titleCentre(1));
    EXPECT_EQ(titles, (QStringList{u"IDMARCADO"_s, u"NMSERVICO"_s}));
    EXPECT_EQ(f.set->RecNo(), 2);
    EXPECT_EQ(f.grid->SelectedIndex(), 0);
    EXPECT_TRUE(f.log.isEmpty());
}

TEST(DBGrid, OptionsColourAndBorderReachTheTable) {
    GridFixture f;
    f.grid->SetOptions(TDBGridOptions(TDBGridOption::dgTitles) | TDBGridOption::dgColumnResize |
                       TDBGridOption::dgColLines | TDBGridOption::dgRowLines | TDBGridOption::dgTabs |
                       TDBGridOption::dgAlwaysShowSelection);
    EXPECT_FALSE(f.grid->verticalHeader()->isVisible()) << "no indicator";
    EXPECT_TRUE(f.grid->horizontalHeader()->isVisible());
    EXPECT_TRUE(f.grid->tabKeyNavigation());
    EXPECT_EQ(f.grid->horizontalHeader()->sectionResizeMode(0), QHeaderView::Interactive);
    f.grid->SetOptions(TDBGridOptions(TDBGridOption::dgIndicator));
    EXPECT_FALSE(f.grid->horizontalHeader()->isVisible());
    EXPECT_TRUE(f.grid->verticalHeader()->isVisible());
    EXPECT_FALSE(f.grid->showGrid());
    EXPECT_FALSE(f.grid->tabKeyNavigation());
    f.grid->SetBorderStyle(TGridBorderStyle::bsNone);
    EXPECT_EQ(f.grid->frameShape(), QFrame::NoFrame);
}

TEST(DBGrid, DataSourceGoneBeforeTheGridLeavesAnEmptyGrid) {
    GridFixture f;
    f.loadThree();
    f.grid->OnDrawColumnCell = [](TDBGrid&, const QRect&, int, TColumn&, const TGridDrawState&) {};
    f.source.reset();
    EXPECT_EQ(f.grid->DataSource(), nullptr);
    EXPECT_EQ(f.grid->model().rowCount(), 0);
    f.grid->repaint();
    EXPECT_EQ(f.grid->SelectedField(), nullptr);
    f.set.reset();
    f.grid->repaint();
    EXPECT_TRUE(f.seam.recorder().errors.isEmpty());
}

TEST(DBGrid, RecordSetGoneBeforeItsSourceAndGridLeavesAnEmptyGrid) {
    GridFixture f;
    f.loadThree();
    f.set.reset();
    EXPECT_EQ(f.grid->model().rowCount(), 0);
    f.grid->repaint();
    QTest::keyClick(f.grid, Qt::Key_Down);
    EXPECT_TRUE(f.seam.recorder().errors.isEmpty());
}
