#include "GeneratedDemo.h"
#include "ServerProcess.h"
#include "ShellProcess.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// The shell as the calculation-mode caller, offscreen, over the demo database and a real server.
class ShellCalcMode : public ::testing::Test {
protected:
    static void SetUpTestSuite() { server = std::make_unique<ServerProcess>(generatedDemo().string()); }
    static void TearDownTestSuite() { server.reset(); }

    void SetUp() override { ASSERT_TRUE(folder.isValid()); }

    ShellResult calculate(const QString& branch, const QString& service, int port) {
        return runCalculation(folder.path(), QString::fromStdString(generatedDemo().string()), port, branch,
                              service);
    }

    static std::unique_ptr<ServerProcess> server;
    QTemporaryDir folder;
};

std::unique_ptr<ServerProcess> ShellCalcMode::server;

TEST_F(ShellCalcMode, AClearMenuEndsWithStatusZero) {
    const ShellResult run = calculate(u"0001"_s, u"003"_s, server->port());
    EXPECT_EQ(run.status, 0) << run.out.toStdString() << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(u"cardápio liberado"_s)) << run.out.toStdString();
}

TEST_F(ShellCalcMode, AnInfringingMenuEndsWithStatusOneAndListsWhatItInfringes) {
    const ShellResult run = calculate(u"0001"_s, u"004"_s, server->port());
    EXPECT_EQ(run.status, 1) << run.out.toStdString() << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(u"Operação bloqueada. O cardápio infringiu as restrições contratuais."_s))
        << "the dialog's text, printed headless: " << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(u"Limite de Nutrientes por Serviço\n"_s)) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(u"Nutriente: "_s)) << "the summary rows follow the caption";
    EXPECT_FALSE(run.out.contains(u"Frequência de Pratos (Semana)\n"_s)) << "only the infringed category";
}

TEST_F(ShellCalcMode, NoJudgementEndsWithStatusTwoAndNeverReadsClear) {
    // A service the branch does not serve: nothing can be marked, the services check refuses.
    ShellResult run = calculate(u"0001"_s, u"999"_s, server->port());
    EXPECT_EQ(run.status, 2) << run.out.toStdString() << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(u"Serviço deve ser selecionado."_s) ||
                run.err.contains(u"Serviço deve ser selecionado."_s))
        << run.out.toStdString() << run.err.toStdString();

    // The server gone.
    run = calculate(u"0001"_s, u"003"_s, 1);
    EXPECT_EQ(run.status, 2) << run.out.toStdString() << run.err.toStdString();
    EXPECT_FALSE(run.out.contains(u"cardápio liberado"_s));
}

} // namespace
