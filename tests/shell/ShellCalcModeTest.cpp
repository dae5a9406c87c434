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

TEST_F(ShellCalcMode, AClearMenuEndsWithStatusZeroAndAQuietStderr) {
    // No runtime folder and the offscreen plugin: Qt has warnings to give, none reaches the caller.
    const ShellResult run =
        runCalculation(folder.path(), QString::fromStdString(generatedDemo().string()), server->port(),
                       u"0001"_s, u"003"_s, 90000, {{u"XDG_RUNTIME_DIR"_s, QString()}});
    EXPECT_EQ(run.status, 0) << run.out.toStdString() << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(u"cardápio liberado"_s)) << run.out.toStdString();
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
}

// A calling program needs no settings file, and the machine's LANG changes no number it reads.
class ShellFromOptions : public ShellCalcMode, public ::testing::WithParamInterface<const char*> {};

TEST_P(ShellFromOptions, RunsFromTheOptionsAloneInTheBrazilianFormat) {
    const ShellResult run = runShell(
        QStringList{u"--database"_s, QString::fromStdString(generatedDemo().string()), u"--server"_s,
                    u"127.0.0.1:%1"_s.arg(server->port()), u"--operator"_s, u"DEMO"_s, u"--operator-branch"_s,
                    u"0001"_s, u"--mode"_s, u"CALCULA"_s, u"--filial"_s, u"0001"_s, u"--servico"_s, u"002"_s,
                    u"--mes"_s, u"2026-03-01"_s},
        folder.path(), 90000, {{u"LANG"_s, QString::fromLatin1(GetParam())}, {u"LC_ALL"_s, QString()}});
    EXPECT_EQ(run.status, 1) << run.out.toStdString() << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(u"Qtde.Máxima: 1.498,80000;"_s)) << run.out.toStdString();
    EXPECT_FALSE(run.out.contains(u"1,498.80000"_s));
    // The protein row's contract sets no upper bound.
    EXPECT_TRUE(run.out.contains(u"Nutriente: Proteínas; Qtde.Mínima: 43,60000; Qtde.Máxima: sem limite;"_s))
        << run.out.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Lang, ShellFromOptions, ::testing::Values("C", "pt_BR.UTF-8", "en_US.UTF-8"));

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
    EXPECT_TRUE(run.err.contains(u"O serviço '999' não existe na filial '0001'."_s)) << run.err.toStdString();

    // A branch the operator may not work on gets no verdict.
    run = calculate(u"0003"_s, u"001"_s, server->port());
    EXPECT_EQ(run.status, 2) << run.out.toStdString() << run.err.toStdString();
    EXPECT_TRUE((run.out + run.err).contains(u"não tem permissão para trabalhar na filial '0003'"_s))
        << run.out.toStdString() << run.err.toStdString();

    // The server gone.
    run = calculate(u"0001"_s, u"003"_s, 1);
    EXPECT_EQ(run.status, 2) << run.out.toStdString() << run.err.toStdString();
    EXPECT_FALSE(run.out.contains(u"cardápio liberado"_s));
}

} // namespace
