#include "GuiTestSupport.h"
#include "TestDatabase.h"

#include "host/app/TApplication.h"
#include "host/app/TForm.h"
#include "host/context/OperatorContext.h"
#include "host/context/SettingsKeys.h"
#include "host/core/Refusal.h"
#include "host/data/TDataSource.h"
#include "host/db/TADOIBQuery.h"
#include "host/db/TdtmDBGeral.h"
#include "host/edit/TBtnPesquisa.h"
#include "host/edit/TMaskEdit.h"
#include "host/edit/TPesquisaDialog.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace host;

namespace {

class BtnPesquisaTest : public ::testing::Test {
protected:
    void SetUp() override {
        OperatorContext::instance().clear();
        TdtmDBGeral::instance().close();
        OperatorContext::instance().set(keys::kDatabasePath, QString::fromStdString(db.pathString()));
        query.SQL = u"SELECT CDFILIAL, NMFILIAL FROM FILIAL ORDER BY CDFILIAL"_s;
        query.AddStringField(u"CDFILIAL"_s, 4).SetDisplayLabel(u"Código"_s);
        query.AddStringField(u"NMFILIAL"_s, 30).SetDisplayLabel(u"Nome"_s);
        source.SetDataSet(&query);
        code->SetEditMask(u">aaaa;0; "_s);
        code->SetBounds(8, 8, 60, 21);
        button->SetBounds(70, 8, 21, 21);
        button->Associate = code;
        button->Title = u"Filial"_s;
        button->SetDataSource(source, query);
        button->EmptyError = u"Não há filial cadastrada."_s;
        button->OnBeforePesq = [this](QObject* sender, bool&) {
            events << u"before"_s;
            EXPECT_EQ(sender, button);
            EXPECT_FALSE(query.Active()) << "the set is opened after this handler";
        };
        button->OnAfterPesq = [this](QObject* sender) {
            events << u"after "_s + query.FieldByName(u"CDFILIAL"_s).AsString();
            EXPECT_EQ(sender, button);
        };
        form->Show();
        QApplication::setActiveWindow(form);
        code->setFocus();
    }
    void TearDown() override {
        TBtnPesquisa::SetChooser({});
        TdtmDBGeral::instance().close();
        OperatorContext::instance().clear();
    }
    void addBranches() {
        db.exec("INSERT INTO FILIAL VALUES ('0002', 'Escola Norte', 'N', '2026-03-01');"
                "INSERT INTO FILIAL VALUES ('0001', 'Hospital Central', 'N', '2026-03-01');"
                "INSERT INTO FILIAL VALUES ('0003', 'Fábrica Sul', 'S', '2026-03-01');");
    }
    // Answers the modal search window once it is up, the way a user would.
    void whenTheWindowOpens(std::function<void(TPesquisaDialog&)> drive) {
        QTimer::singleShot(0, form, [this, drive = std::move(drive)] {
            auto* dialog = qobject_cast<TPesquisaDialog*>(QApplication::activeModalWidget());
            windowSeen = dialog != nullptr;
            if (dialog)
                drive(*dialog);
        });
    }

    GuiDialogSeam seam;
    TestDatabase db;
    TADOIBQuery query{u"qryFilial"_s};
    TDataSource source;
    TForm* form = Application().CreateForm<TForm>();
    TMaskEdit* code = new TMaskEdit(form, u"medCdFilial"_s);
    TBtnPesquisa* button = new TBtnPesquisa(form, u"sbtFilial"_s);
    QStringList events;
    bool windowSeen = false;
};

} // namespace

TEST_F(BtnPesquisaTest, AnEmptySetShowsTheEmptyErrorAndPicksNothing) {
    bool asked = false;
    TBtnPesquisa::SetChooser([&](const PesquisaRequest&) -> std::optional<int> {
        asked = true;
        return 0;
    });
    EXPECT_FALSE(button->Pesquisa());
    EXPECT_FALSE(asked);
    EXPECT_EQ(events, QStringList{u"before"_s});
    ASSERT_EQ(seam.recorder().messages.size(), 1u);
    EXPECT_EQ(seam.recorder().messages[0].text, u"Não há filial cadastrada."_s);
    EXPECT_EQ(seam.recorder().messages[0].type, TMsgDlgType::mtError);
}

TEST_F(BtnPesquisaTest, APickPositionsTheSetBeforeTheAfterEvent) {
    addBranches();
    QString title;
    TBtnPesquisa::SetChooser([&](const PesquisaRequest& request) -> std::optional<int> {
        title = request.title;
        EXPECT_EQ(request.dataSet.RecordCount(), 3);
        return 1;
    });
    EXPECT_TRUE(button->Pesquisa());
    EXPECT_EQ(title, u"Filial"_s);
    EXPECT_EQ(events, (QStringList{u"before"_s, u"after 0002"_s}));
    EXPECT_EQ(QApplication::focusWidget(), code) << "the edit keeps the focus";
    EXPECT_TRUE(seam.recorder().messages.empty());
}

TEST_F(BtnPesquisaTest, ALookupThatMayNotProceedOrIsCancelledRaisesNoAfterEvent) {
    addBranches();
    int asked = 0;
    TBtnPesquisa::SetChooser([&](const PesquisaRequest&) -> std::optional<int> {
        ++asked;
        return std::nullopt;
    });
    button->OnBeforePesq = [this](QObject*, bool& proceed) {
        events << u"before"_s;
        proceed = false;
    };
    EXPECT_FALSE(button->Pesquisa());
    EXPECT_EQ(asked, 0);
    EXPECT_FALSE(query.Active()) << "nothing was opened";

    button->OnBeforePesq = [this](QObject*, bool&) { events << u"before"_s; };
    EXPECT_FALSE(button->Pesquisa());
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(events, (QStringList{u"before"_s, u"before"_s}));
}

TEST_F(BtnPesquisaTest, TheSearchWindowFiltersAndEnterPicksTheRowShown) {
    addBranches();
    QStringList titles;
    whenTheWindowOpens([&](TPesquisaDialog& dialog) {
        QAbstractItemModelTester check(dialog.table()->model(),
                                       QAbstractItemModelTester::FailureReportingMode::Warning);
        const QAbstractItemModel* model = dialog.table()->model();
        for (int c = 0; c < model->columnCount(); ++c)
            titles << model->headerData(c, Qt::Horizontal).toString();
        QTest::keyClicks(dialog.filterEdit(), u"NORTE"_s);
        EXPECT_EQ(model->rowCount(), 1);
        QTest::keyClick(dialog.filterEdit(), Qt::Key_Return);
    });
    EXPECT_TRUE(button->Pesquisa());
    EXPECT_TRUE(windowSeen);
    EXPECT_EQ(titles, (QStringList{u"Código"_s, u"Nome"_s}));
    EXPECT_EQ(events, (QStringList{u"before"_s, u"after 0002"_s}));
}

TEST_F(BtnPesquisaTest, TheSearchWindowMovesWithTheArrowsAndCancelPicksNothing) {
    addBranches();
    whenTheWindowOpens([](TPesquisaDialog& dialog) {
        QTest::keyClick(dialog.filterEdit(), Qt::Key_Down);
        QTest::keyClick(dialog.filterEdit(), Qt::Key_Down);
        QTest::keyClick(dialog.filterEdit(), Qt::Key_Down);
        QTest::keyClick(dialog.filterEdit(), Qt::Key_Enter);
    });
    EXPECT_TRUE(button->Pesquisa());
    EXPECT_EQ(events.last(), u"after 0003"_s) << "the last row, not past it";

    query.Close();
    events.clear();
    whenTheWindowOpens([](TPesquisaDialog& dialog) {
        QTest::keyClicks(dialog.filterEdit(), u"nenhuma"_s);
        QTest::keyClick(dialog.filterEdit(), Qt::Key_Return);
        EXPECT_TRUE(dialog.isVisible()) << "a filter that leaves nothing has nothing to pick";
        dialog.reject();
    });
    EXPECT_FALSE(button->Pesquisa());
    EXPECT_EQ(events, QStringList{u"before"_s});
}

TEST_F(BtnPesquisaTest, AFailureInAClickReachesTheErrorDisplayNotQt) {
    addBranches();
    button->OnBeforePesq = [](QObject*, bool&) { throw Refusal(u"Filial deve ser informada."_s); };
    EXPECT_THROW(button->Pesquisa(), Refusal);
    EXPECT_TRUE(seam.recorder().errors.isEmpty());
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(seam.recorder().errors, QStringList{u"Filial deve ser informada."_s});
}
