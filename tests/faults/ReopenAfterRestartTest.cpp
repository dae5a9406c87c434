#include "ScreenFaultFixture.h"

#include "shell/ShellMenu.h"

#include "host/app/TApplication.h"
#include "host/edit/TDateEditPlus.h"
#include "host/edit/TMaskEdit.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include <memory>

namespace {

// The shell's file menu on the host's main form for one test, reopening the screen as the shell does.
class FileMenu {
public:
    FileMenu() {
        shell::AddFileMenu(*Application().MainForm(), Application().HelpMenu(), [] { IniProc(QVariant()); });
        menu_ = Application().MainForm()->findChild<QMenu*>(u"mnuArquivo"_s);
    }
    ~FileMenu() { delete menu_; }
    FileMenu(const FileMenu&) = delete;
    FileMenu& operator=(const FileMenu&) = delete;
    QAction* action(const QString& name) const { return menu_ ? menu_->findChild<QAction*>(name) : nullptr; }
    QMenu* menu() const { return menu_; }

private:
    QMenu* menu_ = nullptr;
};

TEST_F(ScreenFaults, AfterTheServerRestartsTheSessionEndsClosingSaysNoMoreAndTheMenuReopens) {
    FileMenu file;
    ASSERT_NE(file.menu(), nullptr);
    QAction* open = file.action(u"mnuAbrirAnalise"_s);
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(open->text(), u"Abrir análise de restrições"_s);
    ASSERT_NE(file.action(u"mnuSair"_s), nullptr);
    const QList<QAction*> bar = Application().MainForm()->menuBar()->actions();
    ASSERT_GE(bar.size(), 2);
    EXPECT_EQ(bar.indexOf(file.menu()->menuAction()) + 1, bar.indexOf(Application().HelpMenu()->menuAction()))
        << "Arquivo comes before Ajuda";

    auto first = std::make_unique<ServerProcess>(generatedDemo().string());
    const int port = first->port();
    useServer(port);
    form = launch(u""_s, u"002"_s);
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(errors().isEmpty()) << errors().join(u'\n').toStdString();
    checkAll();

    first.reset();
    ServerProcess::Options sameAddress;
    sameAddress.extraArgs = {"--listen", "127.0.0.1:" + std::to_string(port)};
    ServerProcess second(generatedDemo().string(), sameAddress);
    ASSERT_EQ(second.port(), port);
    pressVerify();
    ASSERT_EQ(errors().size(), 1);
    EXPECT_TRUE(errors()[0].contains(u"Feche esta tela e abra-a novamente"_s)) << errors()[0].toStdString();

    // Closed from the branch code, whose exit runs on the way out: nothing more is said.
    QApplication::setActiveWindow(form->window());
    form->medCdFilial->setFocus();
    GuiDrain();
    QTest::mouseClick(form->sbtCancel, Qt::LeftButton);
    GuiDrain();
    EXPECT_EQ(frmAnalRestCont, nullptr);
    EXPECT_EQ(errors().size(), 1) << errors().join(u'\n').toStdString();

    // The menu opens it again on a new session, with no restart of the program.
    open->trigger();
    GuiDrain();
    form = frmAnalRestCont;
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->netAnalRestCont.Connected());
    form->depMes->SetDate(marchDay(1));
    ASSERT_TRUE(form->cdsServico.Locate(u"CDSERVFILI"_s, u"002"_s));
    form->cdsServico.Edit();
    form->cdsServico.FieldByName(u"IDMARCADO"_s).SetAsString(u"S"_s);
    form->cdsServico.Post();
    checkAll();
    pressVerify();
    EXPECT_EQ(errors().size(), 1) << errors().join(u'\n').toStdString();
    EXPECT_FALSE(form->cdsLimNutri.IsEmpty());
    closeScreen();
}

} // namespace
