#include "OwnDatabaseFixture.h"

#include "host/app/TForm.h"
#include "host/app/TPageControl.h"
#include "host/edit/TDateEditPlus.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace {

QString markedServices(const TClientDataSet& set) {
    QStringList codes;
    const int code = set.FieldByName(u"CDSERVFILI"_s).Index();
    const int mark = set.FieldByName(u"IDMARCADO"_s).Index();
    for (int row = 0; row < set.RecordCount(); ++row)
        if (set.DisplayTextAt(row, mark) == u"S"_s)
            codes << set.DisplayTextAt(row, code);
    return codes.join(u' ');
}

// The form's life against the real server: the first activation, later activations, the close.
class LifecycleOnServer : public OwnDatabaseScreenTest {
protected:
    static void SetUpTestSuite() {
        startOver(infringingServiceSql("ALM", "Almoço", {}) + infringingServiceSql("JAN", "Jantar", {}) +
                  infringingServiceSql("CEIA", "Ceia", {}));
    }
};

TEST_F(LifecycleOnServer, TheLaunchServiceIsMarkedInWhateverCaseItCameIn) {
    for (const QString& given : {u"JAN"_s, u"jan"_s, u"Jan"_s}) {
        SCOPED_TRACE(given.toStdString());
        form = launch(QString(), u"0001"_s, given, day(2026, 5, 1));
        ASSERT_NE(form, nullptr);
        ASSERT_TRUE(seam.recorder().errors.isEmpty()) << seam.recorder().lastError().toStdString();
        EXPECT_EQ(markedServices(form->cdsServico), u"JAN"_s);
        EXPECT_EQ(form->cdsServico.FieldByName(u"CDSERVFILI"_s).AsString(), u"JAN"_s) << "and current";
        EXPECT_EQ(form->depMes->GetPrimDia(), day(2026, 5, 1)) << "the launch month";
        form->Close();
        GuiDrain();
    }
    form = launch(QString(), u"0001"_s, u"JANT"_s, day(2026, 5, 1));
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(markedServices(form->cdsServico).isEmpty()) << "a code that is not there marks nothing";
}

TEST_F(LifecycleOnServer, SwitchingWindowsAndBackRunsOnlyTheActivationOfEveryTime) {
    form = launch(QString(), u"0001"_s, u"ALM"_s, day(2026, 3, 1));
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(seam.recorder().errors.isEmpty()) << seam.recorder().lastError().toStdString();
    // What the user did since: another service marked, another month, the analysis page in front.
    ASSERT_TRUE(form->cdsServico.Locate(u"CDSERVFILI"_s, u"CEIA"_s));
    form->cdsServico.Edit();
    form->cdsServico.FieldByName(u"IDMARCADO"_s).SetAsString(u"S"_s);
    form->cdsServico.Post();
    form->depMes->SetDate(day(2026, 4, 1));
    form->pgcVerifica->SetActivePage(form->tshVerificar);
    for (bool* flag : reloadFlags())
        *flag = false;
    methodsCalled();

    auto* other = Application().CreateForm<TForm>();
    other->SetFormStyle(TFormStyle::fsMDIChild);
    other->Show();
    QMdiArea* area = Application().MdiArea();
    auto* screen = qobject_cast<QMdiSubWindow*>(form->FormWindow());
    auto* away = qobject_cast<QMdiSubWindow*>(other->FormWindow());
    ASSERT_NE(screen, nullptr);
    ASSERT_NE(away, nullptr);
    int screenActivations = 0;
    bool allCompleted = true;
    QObject listening;
    QObject::connect(&Application(), &TApplication::formActivated, &listening,
                     [&](TForm* activated, bool completed) {
                         if (activated != form)
                             return;
                         ++screenActivations;
                         allCompleted = allCompleted && completed;
                     });

    area->setActiveSubWindow(away);
    GuiDrain();
    EXPECT_EQ(area->activeSubWindow(), away);
    area->setActiveSubWindow(screen);
    GuiDrain();
    EXPECT_EQ(area->activeSubWindow(), screen);
    // And the host's window itself deactivated and activated again.
    QApplication::setActiveWindow(nullptr);
    GuiDrain();
    QApplication::setActiveWindow(Application().MainForm());
    GuiDrain();

    EXPECT_GE(screenActivations, 1) << "coming back activates the screen";
    EXPECT_TRUE(allCompleted) << "and each activation ran to its end";
    EXPECT_TRUE(methodsCalled().isEmpty()) << "nothing is loaded again";
    EXPECT_EQ(markedServices(form->cdsServico), u"ALM CEIA"_s);
    EXPECT_EQ(form->depMes->GetPrimDia(), day(2026, 4, 1));
    EXPECT_EQ(form->pgcVerifica->ActivePage(), form->tshVerificar);
    for (bool* flag : reloadFlags())
        EXPECT_FALSE(*flag);
    EXPECT_FALSE(form->FirstActivationPending());
    EXPECT_TRUE(seam.recorder().errors.isEmpty()) << seam.recorder().lastError().toStdString();
}

// The server holds one session at a time: while the screen is open nobody else gets one.
class CloseOnServer : public OwnDatabaseScreenTest {
protected:
    static void SetUpTestSuite() {
        ServerProcess::Options options;
        options.extraArgs = {"--max-sessions", "1"};
        startOver(infringingServiceSql("ALM", "Almoço", {}), options);
    }
    void connectProbe() {
        probe.ServerName = u"KDR60251.rdmAnalRestCont"_s;
        probe.Host = u"127.0.0.1"_s;
        probe.Port = server->port();
        probe.TimeoutMs = 10000;
        probe.Connect();
    }
    TNetConnection probe;
};

TEST_F(CloseOnServer, ClosingTheFormClosesItsSessionOnTheServer) {
    form = launch(QString(), u"0001"_s, QString(), 0);
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(form->netAnalRestCont.Connected());
    EXPECT_FALSE(refusalOf([&] { connectProbe(); }).isEmpty()) << "the screen's session is open";
    QPointer<TfrmAnalRestCont> closed = form;
    form->Close();
    ASSERT_FALSE(closed.isNull()) << "still there until the next turn: only its close has run";
    EXPECT_FALSE(closed->netAnalRestCont.Connected());
    EXPECT_NO_THROW(connectProbe()) << "the server has let the session go";
    EXPECT_TRUE(probe.Connected());
    probe.Disconnect();
    GuiDrain();
}

} // namespace
