#include "ModuleFixture.h"
#include "ServerProcess.h"
#include "TestDatabase.h"

#include "host/app/ShowAvi.h"
#include "host/app/TApplication.h"
#include "host/app/TCheckBox.h"
#include "host/app/TPageControl.h"
#include "host/app/TPanel.h"
#include "host/app/TTabSheet.h"
#include "host/context/OperatorContext.h"
#include "host/context/SettingsKeys.h"
#include "host/db/TdtmDBGeral.h"
#include "host/edit/TBtnPesquisa.h"
#include "host/edit/TDateEditPlus.h"
#include "host/edit/TEdit.h"
#include "host/edit/TMaskEdit.h"
#include "host/grid/TDBGrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QMainWindow>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;
using namespace host;

namespace {

const QString kMesNull = u"Data deve ser informada."_s;

// Branches 0001 and 0002 have services, 0003's contract was rescinded and it has none, 0004 is
// not the operator's. One file is both the host's local database and the server's.
class BranchPanelTest : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        db.exec("INSERT INTO FILIAL VALUES ('0001', 'Hospital Central', 'N', '2026-03-10');"
                "INSERT INTO FILIAL VALUES ('0002', 'Escola Norte', 'N', '2026-03-10');"
                "INSERT INTO FILIAL VALUES ('0003', 'Fábrica Sul', 'S', '2026-03-10');"
                "INSERT INTO FILIAL VALUES ('0004', 'Quartel Leste', 'N', '2026-03-10');"
                "INSERT INTO OPERFILI VALUES ('MARIA', '0001');"
                "INSERT INTO OPERFILI VALUES ('MARIA', '0002');"
                "INSERT INTO OPERFILI VALUES ('MARIA', '0003');");
        restoreServices();
        server = std::make_unique<ServerProcess>(db.pathString());
        auto& context = OperatorContext::instance();
        context.clear();
        TdtmDBGeral::instance().close();
        context.set(keys::kDatabasePath, QString::fromStdString(db.pathString()));
        context.set(keys::kServerHost, QString::fromStdString(server->host()));
        context.set(keys::kServerPort, QString::number(server->port()));
        context.set(keys::kServerTimeoutMs, u"10000"_s);
        context.set(keys::kOperatorCode, u"MARIA"_s);
        context.set(keys::kOperatorBranch, u"0001"_s);

        IniProc(QVariant());
        GuiDrain();
        form = frmAnalRestCont;
        ASSERT_NE(form, nullptr);
        ASSERT_FALSE(form->FirstActivationPending());
        ASSERT_TRUE(seam.recorder().errors.isEmpty()) << seam.recorder().lastError().toStdString();
        ASSERT_EQ(services(), (QStringList{u"001"_s, u"002"_s}));
        QApplication::setActiveWindow(Application().MainForm());
        form->activateWindow();
        outside = form->chbFreqPrat;
        outside->setFocus();
    }
    void TearDown() override {
        TBtnPesquisa::SetChooser({});
        ModuleTest::TearDown();
        server.reset();
        TdtmDBGeral::instance().close();
        OperatorContext::instance().clear();
    }

    void dropServices() { db.exec("DROP TABLE SERVFILI;"); }
    void restoreServices() {
        db.exec("CREATE TABLE IF NOT EXISTS SERVFILI (CDFILIAL VARCHAR(4) NOT NULL, CDSERVFILI VARCHAR(5) "
                "NOT NULL,"
                " NMSERVICO VARCHAR(40) NOT NULL, PRIMARY KEY (CDFILIAL, CDSERVFILI));"
                "INSERT OR IGNORE INTO SERVFILI VALUES ('0001', '001', 'Almoço');"
                "INSERT OR IGNORE INTO SERVFILI VALUES ('0001', '002', 'Jantar');"
                "INSERT OR IGNORE INTO SERVFILI VALUES ('0002', '010', 'Desjejum');");
    }

    // The service codes the list holds, in order.
    QStringList services() const {
        QStringList codes;
        TClientDataSet& set = form->cdsServico;
        if (!set.Active())
            return codes;
        for (int row = 0; row < set.RecordCount(); ++row)
            codes << set.DisplayTextAt(row, set.FieldByName(u"CDSERVFILI"_s).Index());
        return codes;
    }
    void mark(const QString& service) {
        ASSERT_TRUE(form->cdsServico.Locate(u"CDSERVFILI"_s, service));
        form->cdsServico.Edit();
        form->cdsServico.FieldByName(u"IDMARCADO"_s).SetAsString(u"S"_s);
        form->cdsServico.Post();
    }
    QStringList marked() const {
        QStringList codes;
        TClientDataSet& set = form->cdsServico;
        if (!set.Active())
            return codes;
        const int code = set.FieldByName(u"CDSERVFILI"_s).Index();
        const int flag = set.FieldByName(u"IDMARCADO"_s).Index();
        for (int row = 0; row < set.RecordCount(); ++row)
            if (set.DisplayTextAt(row, flag) == u"S"_s)
                codes << set.DisplayTextAt(row, code);
        return codes;
    }
    void clearReloadFlags() {
        for (bool* flag : reloadFlags())
            *flag = false;
    }
    bool allReloadFlags() const {
        for (bool* flag : reloadFlags())
            if (!*flag)
                return false;
        return true;
    }

    // The busy indicator is a window of its own: offscreen, showing it takes the activation and
    // hiding it leaves no window active. The user's next step starts in the screen's window again,
    // where the focus is still where the screen last put it.
    static void backToTheScreen() { QApplication::setActiveWindow(Application().MainForm()); }
    // The user enters the code edit, replaces its text by typing, and stays there.
    void typeCode(const QString& code) {
        focusOn(form->medCdFilial);
        form->medCdFilial->selectAll();
        QTest::keyClick(form->medCdFilial, Qt::Key_Backspace);
        QTest::keyClicks(form->medCdFilial, code);
    }
    void focusOn(QWidget* widget) {
        backToTheScreen();
        widget->setFocus();
        backToTheScreen();
    }
    void toMonth() { focusOn(form->depMes); }
    void leavePanel() { focusOn(outside); }
    QStringList& errors() { return seam.recorder().errors; }

    TestDatabase db;
    std::unique_ptr<ServerProcess> server;
    TfrmAnalRestCont* form = nullptr;
    TCheckBox* outside = nullptr;
};

} // namespace

TEST_F(BranchPanelTest, ThePanelHoldsCodeNameAndMonthInTabOrder) {
    EXPECT_EQ(form->panFilial->Parent(), form->tshOpcoes);
    EXPECT_EQ(form->medCdFilial->EditMask(), u">aaaa;0; "_s);
    EXPECT_EQ(form->medCdFilial->MaxLength(), 4);
    EXPECT_TRUE(form->edtNmFilial->ReadOnly());
    EXPECT_FALSE(form->edtNmFilial->Enabled());
    EXPECT_FALSE(form->edtNmFilial->TabStop());
    EXPECT_EQ(form->sbtFilial->Hint(), u"Pesquisar"_s);
    EXPECT_EQ(form->sbtFilial->Associate, form->medCdFilial);
    EXPECT_EQ(form->sbtFilial->DataSource(), &form->dtsFilial__);
    EXPECT_FALSE(form->depMes->ShowDia());
    EXPECT_EQ(form->depMes->EditStyle(), TDateEditStyle::desUpDown);
    EXPECT_EQ(form->qryFilial.SQL_IB, form->qryFilial.SQL + u"\n"_s);
    EXPECT_EQ(form->qryFilial.FieldByName(u"CDFILIAL"_s).DisplayLabel(), u"Código"_s);
    EXPECT_EQ(form->qryFilial.FieldByName(u"CDFILIAL"_s).DataType(), proto::FieldType::String);
    EXPECT_EQ(form->qryFilial.FieldByName(u"CDFILIAL"_s).Size(), 4);
    EXPECT_TRUE(form->qryFilial.FieldByName(u"CDFILIAL"_s).Required);
    EXPECT_EQ(form->qryFilial.FieldByName(u"CDFILIAL"_s).DisplayWidth, 8);
    EXPECT_EQ(form->qryFilial.FieldByName(u"NMFILIAL"_s).DisplayLabel(), u"Nome"_s);
    EXPECT_EQ(form->medCdFilial->Text(), u"0001"_s);
    EXPECT_EQ(form->edtNmFilial->Text(), u"Hospital Central"_s);
    EXPECT_EQ(form->depMes->Text(), u"03/2026"_s);
    EXPECT_EQ(form->stCdFilialServ, u"0001"_s) << "the first load counts";
    EXPECT_EQ(form->medCdFilial->nextInFocusChain(),
              form->depMes->focusProxy() ? form->depMes->focusProxy() : form->depMes);
}

TEST_F(BranchPanelTest, LeavingWithTheSameCodeValidatesAgainAndKeepsTheMarks) {
    mark(u"002"_s);
    focusOn(form->medCdFilial);
    toMonth();
    EXPECT_EQ(marked(), QStringList{u"002"_s});
    EXPECT_EQ(form->edtNmFilial->Text(), u"Hospital Central"_s);

    // "1" is widened to the code held: the comparison uses the widened text.
    typeCode(u"1"_s);
    EXPECT_TRUE(form->edtNmFilial->Text().isEmpty()) << "typing clears the name";
    clearReloadFlags();
    toMonth();
    EXPECT_EQ(form->medCdFilial->Text(), u"0001"_s);
    EXPECT_EQ(form->edtNmFilial->Text(), u"Hospital Central"_s);
    EXPECT_EQ(marked(), QStringList{u"002"_s});
    EXPECT_FALSE(allReloadFlags()) << "no load, no reload flags";

    // Changed and changed back before leaving: the comparison is with the code at entry.
    typeCode(u"0002"_s);
    QTest::keyClick(form->medCdFilial, Qt::Key_Backspace);
    QTest::keyClicks(form->medCdFilial, u"1"_s);
    toMonth();
    EXPECT_EQ(marked(), QStringList{u"002"_s});
    EXPECT_TRUE(errors().isEmpty()) << errors().join(u" | "_s).toStdString();
}

TEST_F(BranchPanelTest, AnotherBranchReplacesTheListAndItsMarks) {
    mark(u"001"_s);
    clearReloadFlags();
    typeCode(u"2"_s);
    toMonth();
    EXPECT_EQ(form->medCdFilial->Text(), u"0002"_s);
    EXPECT_EQ(form->edtNmFilial->Text(), u"Escola Norte"_s);
    EXPECT_EQ(services(), QStringList{u"010"_s});
    EXPECT_TRUE(marked().isEmpty());
    EXPECT_EQ(form->stCdFilialServ, u"0002"_s);
    EXPECT_TRUE(allReloadFlags());
    EXPECT_EQ(ShowAviDepth(), 0);

    // A branch without services: the list empties, and that too puts every result out of date.
    clearReloadFlags();
    typeCode(u"0003"_s);
    toMonth();
    EXPECT_TRUE(services().isEmpty());
    EXPECT_TRUE(form->cdsServico.Active());
    EXPECT_EQ(form->stCdFilialServ, u"0003"_s);
    EXPECT_TRUE(allReloadFlags());
    // Its contract was rescinded: leaving the code says so at once, not only when the panel is left,
    // and the focus goes back to the code.
    EXPECT_EQ(errors(), QStringList{u"Filial com contrato rescindido."_s});
    EXPECT_EQ(QApplication::focusWidget(), form->medCdFilial);
}

TEST_F(BranchPanelTest, AnInvalidCodeIsRefusedWithFocusBackAndTheListUntouched) {
    mark(u"001"_s);
    typeCode(u"0004"_s);
    toMonth();
    EXPECT_EQ(errors().size(), 1);
    EXPECT_TRUE(errors().value(0).contains(u"permissão"_s)) << errors().value(0).toStdString();
    EXPECT_EQ(QApplication::focusWidget(), form->medCdFilial);
    EXPECT_TRUE(form->edtNmFilial->Text().isEmpty());
    EXPECT_EQ(marked(), QStringList{u"001"_s});
    EXPECT_EQ(form->stCdFilialServ, u"0001"_s);
}

TEST_F(BranchPanelTest, TheLookupSetsCodeAndNameAndTheListWaitsForTheExit) {
    mark(u"001"_s);
    int offered = 0;
    TBtnPesquisa::SetChooser([&](const PesquisaRequest& request) -> std::optional<int> {
        offered = request.dataSet.RecordCount();
        EXPECT_TRUE(request.dataSet.Locate(u"CDFILIAL"_s, u"0002"_s));
        return request.dataSet.RecNo() - 1;
    });
    focusOn(form->medCdFilial);
    QTest::mouseClick(form->sbtFilial, Qt::LeftButton);
    EXPECT_EQ(offered, 4) << "every branch, whatever the code shown";
    EXPECT_EQ(form->medCdFilial->Text(), u"0002"_s);
    EXPECT_EQ(form->edtNmFilial->Text(), u"Escola Norte"_s) << "the name is written after the code";
    EXPECT_EQ(marked(), QStringList{u"001"_s}) << "no reload before the exit";
    EXPECT_EQ(QApplication::focusWidget(), form->medCdFilial);

    toMonth();
    EXPECT_EQ(services(), QStringList{u"010"_s});
    EXPECT_TRUE(errors().isEmpty()) << errors().join(u" | "_s).toStdString();
}

TEST_F(BranchPanelTest, LeavingThePanelRefusesTheBranchFirstAndThenAnEmptyMonth) {
    // Unknown branch: its refusal only; the month is not looked at.
    form->depMes->SetText(QString());
    typeCode(u"0009"_s);
    leavePanel();
    EXPECT_EQ(errors(), QStringList{u"Filial não cadastrada."_s});
    EXPECT_EQ(QApplication::focusWidget(), form->medCdFilial);

    // The rescinded branch passes the code's own check, not the panel's.
    errors().clear();
    typeCode(u"0003"_s);
    leavePanel();
    EXPECT_EQ(errors(), QStringList{u"Filial com contrato rescindido."_s});
    EXPECT_EQ(QApplication::focusWidget(), form->medCdFilial);

    errors().clear();
    typeCode(u"0001"_s);
    leavePanel();
    EXPECT_EQ(errors(), QStringList{kMesNull});
    EXPECT_EQ(QApplication::focusWidget(), form->depMes);
    EXPECT_EQ(form->edtNmFilial->Text(), u"Hospital Central"_s);

    errors().clear();
    form->depMes->SetText(u"13/2026"_s);
    leavePanel();
    ASSERT_EQ(errors().size(), 1);
    EXPECT_TRUE(errors().at(0).startsWith(u"Mês inválido"_s)) << "the editor's own check on leaving it";

    errors().clear();
    form->depMes->SetText(u"04/2026"_s);
    leavePanel();
    EXPECT_TRUE(errors().isEmpty()) << errors().join(u" | "_s).toStdString();
    EXPECT_EQ(QApplication::focusWidget(), outside);
    EXPECT_NO_THROW(form->Vd_Mes(true));
    form->depMes->SetText(u"  "_s);
    EXPECT_NO_THROW(form->Vd_Mes(false));
}

TEST_F(BranchPanelTest, AFailedLoadLeavesNoListAndTheNextCheckLoadsAgain) {
    mark(u"001"_s);
    dropServices();
    clearReloadFlags();
    typeCode(u"0002"_s);
    toMonth();
    ASSERT_EQ(errors().size(), 1);
    EXPECT_TRUE(errors().at(0).contains(u"GetServico"_s)) << errors().at(0).toStdString();
    EXPECT_TRUE(form->cdsServico.Active());
    EXPECT_TRUE(services().isEmpty()) << "not the previous branch's list under the new branch";
    EXPECT_TRUE(form->stCdFilialServ.isEmpty());
    EXPECT_TRUE(allReloadFlags());
    EXPECT_EQ(ShowAviDepth(), 0);
    EXPECT_EQ(form->edtNmFilial->Text(), u"Escola Norte"_s);

    // Same code as at entry, but the list is not this branch's: it loads.
    restoreServices();
    errors().clear();
    focusOn(form->medCdFilial);
    toMonth();
    EXPECT_TRUE(errors().isEmpty()) << errors().join(u" | "_s).toStdString();
    EXPECT_EQ(services(), QStringList{u"010"_s});
    EXPECT_EQ(form->stCdFilialServ, u"0002"_s);
}

TEST_F(BranchPanelTest, LeavingThePanelLoadsTheListOfABranchNoCodeExitSaw) {
    dropServices();
    typeCode(u"0002"_s);
    toMonth();
    ASSERT_EQ(errors().size(), 1) << "the load failed";
    restoreServices();
    errors().clear();
    leavePanel();
    EXPECT_TRUE(errors().isEmpty()) << errors().join(u" | "_s).toStdString();
    EXPECT_EQ(services(), QStringList{u"010"_s});

    // A code written while the edit did not have the focus.
    focusOn(form->depMes);
    form->medCdFilial->SetText(u"0001"_s);
    clearReloadFlags();
    leavePanel();
    EXPECT_TRUE(errors().isEmpty()) << errors().join(u" | "_s).toStdString();
    EXPECT_EQ(services(), (QStringList{u"001"_s, u"002"_s}));
    EXPECT_EQ(form->edtNmFilial->Text(), u"Hospital Central"_s);
    EXPECT_TRUE(allReloadFlags());

    // The list already belongs to the branch: leaving the panel keeps it and its marks.
    mark(u"002"_s);
    focusOn(form->depMes);
    leavePanel();
    EXPECT_EQ(marked(), QStringList{u"002"_s});
}

// What the next click on the mark column's title does belongs to the module, not to a list: the
// list the server sends for another branch does not start the alternation again.
TEST_F(BranchPanelTest, TheMarkTitleGoesOnAlternatingAcrossABranchChange) {
    const auto clickMarkTitle = [this] {
        form->pgcVerifica->SetActivePage(form->tshVerificar);
        form->pgcPadrao->SetActivePage(form->tshServicos);
        GuiDrain();
        QHeaderView* header = form->dbgServico->horizontalHeader();
        int mark = 0;
        while (form->dbgServico->Columns()[mark].FieldName() != u"IDMARCADO"_s)
            ++mark;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(mark) + header->sectionSize(mark) / 2,
                                 header->height() / 2));
        form->pgcVerifica->SetActivePage(form->tshOpcoes);
    };
    // Whatever earlier tests left: once a click has marked everything, the next one unmarks.
    clickMarkTitle();
    if (marked().isEmpty())
        clickMarkTitle();
    ASSERT_EQ(marked(), (QStringList{u"001"_s, u"002"_s}));

    typeCode(u"0002"_s);
    toMonth();
    ASSERT_EQ(services(), QStringList{u"010"_s});
    ASSERT_TRUE(marked().isEmpty()) << "the server's list comes unmarked";
    clickMarkTitle();
    EXPECT_TRUE(marked().isEmpty()) << "this click unmarks, new branch or not";
    clickMarkTitle();
    EXPECT_EQ(marked(), QStringList{u"010"_s});
    EXPECT_TRUE(errors().isEmpty()) << errors().join(u" | "_s).toStdString();
}
