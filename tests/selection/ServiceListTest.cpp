#include "ModuleFixture.h"
#include "RefusalOf.h"

#include "host/app/TCheckBox.h"
#include "host/app/TColors.h"
#include "host/app/TPageControl.h"
#include "host/app/TScreen.h"
#include "host/app/TTabSheet.h"
#include "host/grid/DataSetModel.h"
#include "host/grid/TDBGrid.h"
#include "host/grid/TDBNavigator.h"
#include "host/grid/TDBText.h"
#include "host/grid/TImage.h"
#include "host/grid/VirtualKey.h"
#include "host/grid/WindowUpdateLock.h"

#include <QApplication>
#include <QHeaderView>
#include <QProcess>
#include <QTest>

#include <string>
#include <vector>

using namespace Qt::StringLiterals;
using namespace host;

namespace {

constexpr int kCodigo = 0;
constexpr int kNome = 1;
constexpr int kMarca = 2;

class ServiceListTest : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        IniProc(QVariant());
        form = frmAnalRestCont;
        ASSERT_NE(form, nullptr);
        GuiDrain();
        QApplication::setActiveWindow(form->window());
        showServices();
        load({"N", "N", "N"});
        seam.recorder().errors.clear();
    }

    void showServices() {
        form->pgcVerifica->SetActivePage(form->tshVerificar);
        form->pgcPadrao->SetActivePage(form->tshServicos);
        form->dbgServico->setFocus();
        GuiDrain();
    }

    // Services 001, 002, 003... of branch 0001 with the marks given.
    void load(const std::vector<std::string>& marks) {
        proto::Packet packet;
        packet.fields = {{"CDSERVFILI", proto::FieldType::String, 5},
                         {"NMSERVICO", proto::FieldType::String, 40},
                         {"CDFILIAL", proto::FieldType::String, 4},
                         {"IDMARCADO", proto::FieldType::String, 1}};
        for (std::size_t i = 0; i < marks.size(); ++i)
            packet.rows.push_back(
                {"00" + std::to_string(i + 1), "Serviço " + std::to_string(i + 1), "0001", marks[i]});
        form->cdsServico.LoadPacket(packet);
        GuiDrain();
    }

    QStringList marks() const {
        QStringList all;
        for (int row = 0; row < form->cdsServico.RecordCount(); ++row)
            all << form->cdsServico.DisplayTextAt(row, form->cdsServico.FieldByName(u"IDMARCADO"_s).Index());
        return all;
    }

    void clickCell(int row, int column) {
        QTest::mouseClick(form->dbgServico->viewport(), Qt::LeftButton, {},
                          form->dbgServico->CellRect(row, column).center());
    }

    void clickTitle(int column) {
        QHeaderView* header = form->dbgServico->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                                 header->height() / 2));
    }

    static void clearReloadFlags() {
        for (bool* flag : reloadFlags())
            *flag = false;
    }
    static bool anyReloadFlag() {
        for (bool* flag : reloadFlags())
            if (*flag)
                return true;
        return false;
    }

    TfrmAnalRestCont* form = nullptr;
};

} // namespace

TEST_F(ServiceListTest, GridShowsTheThreeColumnsOverTheServiceList) {
    TDBGrid* grid = form->dbgServico;
    ASSERT_EQ(grid->Columns().Count(), 3);
    EXPECT_EQ(grid->Parent(), form->tshServicos);
    EXPECT_EQ(grid->Columns().Items(kCodigo).Title.Caption(), u"Código"_s);
    EXPECT_EQ(grid->Columns().Items(kNome).Title.Caption(), u"Nome do Serviço"_s);
    // The form's symbol-font "4" shows as the check mark it stands for, from a font the machine has.
    EXPECT_EQ(grid->Columns().Items(kMarca).Title.Caption(), u"\u2714"_s);
    EXPECT_EQ(grid->Columns().Items(kMarca).Title.Font().family(), u"DejaVu Sans"_s);
    EXPECT_TRUE(QFontMetrics(grid->Columns().Items(kMarca).Title.Font()).inFontUcs4(0x2714));
    EXPECT_EQ(grid->Columns().Items(kCodigo).Width(), 51);
    EXPECT_EQ(grid->Columns().Items(kMarca).Width(), 31);
    EXPECT_EQ(grid->Color(), clInfoBk());
    EXPECT_FALSE(grid->Options().testFlag(TDBGridOption::dgIndicator));
    EXPECT_TRUE(grid->Options().testFlag(TDBGridOption::dgAlwaysShowSelection));
    EXPECT_EQ(grid->model().rowCount(), 3);
    EXPECT_TRUE(form->imgCheck->isHidden());
    EXPECT_EQ(form->imgCheck->Parent(), form->panRestricoes);
    EXPECT_EQ(form->dbtNome->Caption(), u"Serviço 1"_s);
    EXPECT_TRUE(form->dbtNome->Bold());
    EXPECT_EQ(form->dbnPadrao->Parent(), form->panNavigator);
}

TEST_F(ServiceListTest, ClickOnTheMarkCellTogglesAndOtherCellsOnlyMove) {
    clickCell(1, kMarca);
    EXPECT_EQ(marks(), (QStringList{u"N"_s, u"S"_s, u"N"_s}));
    clickCell(1, kMarca);
    EXPECT_EQ(marks(), (QStringList{u"N"_s, u"N"_s, u"N"_s}));
    clickCell(1, kMarca);
    clickCell(2, kNome);
    clickCell(0, kCodigo);
    EXPECT_EQ(marks(), (QStringList{u"N"_s, u"S"_s, u"N"_s}));
    EXPECT_EQ(form->cdsServico.RecNo(), 1) << "code and name clicks move the selection";
    EXPECT_TRUE(seam.recorder().errors.isEmpty());
}

TEST_F(ServiceListTest, AnyValueOtherThanSIsUnmarkedAndBecomesS) {
    load({"s", "", "X"});
    for (int row = 0; row < 3; ++row)
        clickCell(row, kMarca);
    EXPECT_EQ(marks(), (QStringList{u"S"_s, u"S"_s, u"S"_s}));
}

TEST_F(ServiceListTest, SpaceTogglesOnlyWhileTheSelectionIsInTheMarkColumn) {
    clickCell(1, kNome);
    QTest::keyClick(form->dbgServico, Qt::Key_Space);
    EXPECT_EQ(marks(), (QStringList{u"N"_s, u"N"_s, u"N"_s})) << "Space in the name column";
    clickCell(1, kCodigo);
    QTest::keyClick(form->dbgServico, Qt::Key_Space);
    EXPECT_EQ(marks(), (QStringList{u"N"_s, u"N"_s, u"N"_s})) << "Space in the code column";
    form->dbgServico->SetSelectedIndex(kMarca);
    QTest::keyClick(form->dbgServico, Qt::Key_Space);
    EXPECT_EQ(marks(), (QStringList{u"N"_s, u"S"_s, u"N"_s}));
    QTest::keyClick(form->dbgServico, Qt::Key_Space);
    EXPECT_EQ(marks(), (QStringList{u"N"_s, u"N"_s, u"N"_s}));
}

TEST_F(ServiceListTest, OnlyDeleteWithExactlyCtrlIsDiscarded) {
    const struct {
        TShiftState shift;
        int expected;
    } cases[] = {
        {TShiftState(TShift::ssCtrl), 0},
        {TShiftState(), vk::Delete},
        {TShift::ssCtrl | TShift::ssShift, vk::Delete},
        {TShift::ssCtrl | TShift::ssAlt, vk::Delete},
        {TShiftState(TShift::ssShift), vk::Delete},
    };
    for (const auto& c : cases) {
        int key = vk::Delete;
        form->dbgServicoKeyDown(form->dbgServico, key, c.shift);
        EXPECT_EQ(key, c.expected) << "shift bits " << c.shift.Bits();
    }
    int other = vk::Down;
    form->dbgServicoKeyDown(form->dbgServico, other, TShiftState(TShift::ssCtrl));
    EXPECT_EQ(other, vk::Down) << "other keys pass with Ctrl";

    for (auto modifiers : {Qt::KeyboardModifiers(Qt::ControlModifier),
                           Qt::ControlModifier | Qt::ShiftModifier, Qt::KeyboardModifiers(Qt::NoModifier)})
        QTest::keyClick(form->dbgServico, Qt::Key_Delete, modifiers);
    EXPECT_EQ(form->cdsServico.RecordCount(), 3) << "no key deletes a service";
    EXPECT_EQ(marks(), (QStringList{u"N"_s, u"N"_s, u"N"_s}));
}

TEST_F(ServiceListTest, MarkTitleAlternatesAndEveryOtherTitleTurnsTheAlternationOver) {
    QList<TCursor> cursors;
    const auto handler = form->cdsServico.AfterScroll;
    form->cdsServico.AfterScroll = [&](TClientDataSet& set) {
        cursors << Screen().Cursor();
        handler(set);
    };
    clickTitle(kMarca);
    ASSERT_FALSE(cursors.isEmpty());
    EXPECT_EQ(cursors.count(TCursor::crHourGlass), cursors.size())
        << "the hourglass while the rows are walked";
    const QString first = marks().first();
    const QString second = first == u"S"_s ? u"N"_s : u"S"_s;
    EXPECT_EQ(marks(), QStringList(3, first)) << "every service gets the same mark";
    EXPECT_TRUE(boApply);
    EXPECT_EQ(form->cdsServico.RecNo(), 3) << "the walk ends on the last service";
    EXPECT_EQ(form->dbgServico->currentIndex().row(), 2);
    EXPECT_EQ(Screen().Cursor(), TCursor::crDefault);

    clickTitle(kMarca);
    EXPECT_EQ(marks(), QStringList(3, second));

    clickTitle(kNome);
    EXPECT_EQ(marks(), QStringList(3, second)) << "a name title click changes no mark";
    clickTitle(kMarca);
    EXPECT_EQ(marks(), QStringList(3, second)) << "after the name title the mark title repeats itself";

    load({"N", "S", "N"});
    clickTitle(kMarca);
    EXPECT_EQ(marks(), QStringList(3, first)) << "a reload does not reset the alternation";
    EXPECT_TRUE(seam.recorder().errors.isEmpty());
}

// A fresh process: the module just loaded.
TEST_F(ServiceListTest, DISABLED_FreshModuleFirstMarkTitleMarksAll) {
    clickTitle(kMarca);
    EXPECT_EQ(marks(), QStringList(3, u"S"_s));
    clickTitle(kMarca);
    EXPECT_EQ(marks(), QStringList(3, u"N"_s));
    clickTitle(kNome);
    clickTitle(kMarca);
    EXPECT_EQ(marks(), QStringList(3, u"N"_s)) << "the name title turned the alternation over";
    clickTitle(kMarca);
    EXPECT_EQ(marks(), QStringList(3, u"S"_s));
}

TEST(ServiceListFreshModule, FirstMarkTitleClickAfterLoadMarksAllServices) {
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(),
                {u"--gtest_filter=ServiceListTest.DISABLED_FreshModuleFirstMarkTitleMarksAll"_s,
                 u"--gtest_also_run_disabled_tests"_s});
    ASSERT_TRUE(child.waitForFinished(60000));
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.exitCode(), 0) << child.readAllStandardOutput().toStdString();
}

TEST_F(ServiceListTest, MarkingOnAnEmptyOrUnloadedListDoesNothing) {
    load({});
    clickTitle(kMarca);
    form->dbgServico->SetSelectedIndex(kMarca);
    QTest::keyClick(form->dbgServico, Qt::Key_Space);
    form->dbgServicoCellClick(form->dbgServico->Columns().Items(kMarca));
    form->MontaListaServ();
    EXPECT_EQ(stListaServ, QString());
    form->cdsServico.Close();
    clickTitle(kMarca);
    form->dbgServicoCellClick(form->dbgServico->Columns().Items(kMarca));
    form->MontaListaServ();
    EXPECT_EQ(stListaServ, QString());
    EXPECT_TRUE(seam.recorder().errors.isEmpty());
}

TEST_F(ServiceListTest, ListStringHoldsTheMarkedCodesInListOrder) {
    const struct {
        std::vector<std::string> marks;
        const char16_t* expected;
    } cases[] = {
        {{"S", "N", "S"}, u"_001_003"},     {{"N", "N", "N"}, u""},
        {{"S", "S", "S"}, u"_001_002_003"}, {{"N", "s", ""}, u""}, // compared exactly
        {{"N", "S", "N"}, u"_002"},
    };
    for (const auto& c : cases) {
        load(c.marks);
        form->MontaListaServ();
        EXPECT_EQ(stListaServ, QString::fromUtf16(c.expected));
    }
}

TEST_F(ServiceListTest, ServicesCheckRefusesAnEmptyListAndBringsTheServicesToFront) {
    form->MontaListaServ();
    // With the focus nowhere, no branch check of the selection page holds it there.
    form->dbgServico->clearFocus();
    form->pgcVerifica->SetActivePage(form->tshOpcoes);
    GuiDrain();
    EXPECT_EQ(refusalOf([&] { form->Vd_Serv(); }), u"Serviço deve ser selecionado."_s);
    EXPECT_EQ(form->pgcVerifica->ActivePage(), form->tshVerificar);
    EXPECT_EQ(form->pgcPadrao->ActivePage(), form->tshServicos);
    GuiDrain();
    EXPECT_EQ(QApplication::focusWidget(), form->dbgServico)
        << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString() : "none");

    stListaServ = u"   "_s;
    EXPECT_EQ(refusalOf([&] { form->Vd_Serv(); }), u"Serviço deve ser selecionado."_s) << "blank";

    clickCell(2, kMarca);
    form->MontaListaServ();
    EXPECT_NO_THROW(form->Vd_Serv());
}

TEST_F(ServiceListTest, BuildingTheListWalksDetachedAndFrozenAndComesBackToTheRow) {
    load({"S", "N", "S"});
    form->cdsServico.SetRecNo(2);
    clearReloadFlags();
    int rowsSeen = 0;
    bool alwaysFrozen = true;
    const auto spy = QObject::connect(&form->dtsServico__, &TDataSource::currentRowChanged, [&] {
        ++rowsSeen;
        alwaysFrozen = alwaysFrozen && LockWindowUpdate::Locked(*form) && !form->updatesEnabled();
    });
    form->MontaListaServ();
    QObject::disconnect(spy);
    EXPECT_EQ(stListaServ, u"_001_003"_s);
    EXPECT_GT(rowsSeen, 0);
    EXPECT_TRUE(alwaysFrozen) << "the form is frozen while the rows are walked";
    EXPECT_FALSE(anyReloadFlag()) << "the walk is not a change of service";
    EXPECT_EQ(form->cdsServico.RecNo(), 2);
    EXPECT_TRUE(form->updatesEnabled());

    form->cdsServico.Next();
    EXPECT_TRUE(anyReloadFlag()) << "the after-scroll handler is back";
}

TEST_F(ServiceListTest, AFailureWhileBuildingTheListStillUnfreezesAndReattaches) {
    load({"S", "N", "S"});
    clearReloadFlags();
    const auto fault = QObject::connect(&form->dtsServico__, &TDataSource::currentRowChanged, [](int row) {
        if (row == 1)
            throw Refusal(u"falha de leitura"_s);
    });
    EXPECT_EQ(refusalOf([&] { form->MontaListaServ(); }), u"falha de leitura"_s);
    QObject::disconnect(fault);
    EXPECT_EQ(stListaServ, u"_001"_s) << "what was built up to the failure";
    EXPECT_TRUE(form->updatesEnabled());
    EXPECT_FALSE(LockWindowUpdate::Locked(*form));
    EXPECT_FALSE(anyReloadFlag());
    form->cdsServico.Last();
    EXPECT_TRUE(anyReloadFlag()) << "the after-scroll handler is back";
}

TEST_F(ServiceListTest, ChangeOfServiceSetsTheFlagsAndReentersTheResultPageInFront) {
    int entries = 0;
    form->chbFreqPrat->SetChecked(true);
    form->tshFreqPratSem->OnEnter = [&] { ++entries; };

    clearReloadFlags();
    form->dbnPadrao->BtnClick(TNavigateBtn::nbNext);
    for (bool* flag : reloadFlags())
        EXPECT_TRUE(*flag);
    EXPECT_EQ(entries, 0) << "the services page in front enters nothing";

    form->pgcPadrao->SetActivePage(form->tshFreqPratSem);
    GuiDrain();
    entries = 0;
    QTest::mouseClick(form->dbnPadrao->Button(TNavigateBtn::nbNext), Qt::LeftButton);
    QTest::mouseClick(form->dbnPadrao->Button(TNavigateBtn::nbFirst), Qt::LeftButton);
    EXPECT_EQ(entries, 2) << "each service reached reloads the page in front";
    EXPECT_EQ(form->dbtNome->Caption(), u"Serviço 1"_s);
}

TEST_F(ServiceListTest, MarkColumnShowsTheBoxAtEightPixelsOnTheCellColour) {
    load({"S", "N", "S"});
    form->dbgServico->resize(300, 120);
    clickCell(2, kMarca);
    clickCell(2, kMarca); // back to "S", the selection in the mark column of the last row
    ASSERT_EQ(marks(), (QStringList{u"S"_s, u"N"_s, u"S"_s}));
    const QImage shot = form->dbgServico->viewport()->grab().toImage();
    const QColor selection = form->dbgServico->SelectionColor();
    const struct {
        int row;
        bool ticked;
        QColor background;
    } cells[] = {{0, true, clInfoBk()}, {1, false, clInfoBk()}, {2, true, selection}};
    for (const auto& c : cells) {
        const QRect cell = form->dbgServico->CellRect(c.row, kMarca);
        ASSERT_GE(cell.height(), 14);
        const int x0 = cell.left() + 8;
        const int y0 = cell.top();
        EXPECT_EQ(shot.pixelColor(x0 + 2, y0 + 2), QColor(Qt::black))
            << "row " << c.row << ": the box's top-left";
        EXPECT_EQ(shot.pixelColor(x0 + 3, y0 + 3), QColor(Qt::white));
        EXPECT_EQ(shot.pixelColor(x0 + 10, y0 + 4), c.ticked ? QColor(Qt::black) : QColor(Qt::white))
            << "row " << c.row << ": the tick";
        for (int y = cell.top(); y <= cell.bottom(); ++y) {
            for (int x = cell.left(); x <= cell.right(); ++x) {
                const QColor pixel = shot.pixelColor(x, y);
                ASSERT_NE(pixel, clOlive()) << "olive at " << x << "," << y;
                const bool inBox = x >= x0 + 1 && x < x0 + 14 && y >= y0 + 1 && y < y0 + 14;
                if (!inBox) {
                    ASSERT_EQ(pixel, c.background) << "row " << c.row << " at " << x << "," << y;
                }
            }
        }
    }
    EXPECT_TRUE(seam.recorder().errors.isEmpty());
}
