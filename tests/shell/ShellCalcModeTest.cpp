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
        QFile settings(folder.filePath(u"restcont.ini"_s));
        EXPECT_TRUE(settings.open(QIODevice::WriteOnly | QIODevice::Truncate));
        settings.write(
            u"[database]\npath=%1\n[server]\nhost=127.0.0.1\nport=%2\ntimeout_ms=20000\n"
            u"[operator]\ncode=DEMO\nbranch=0001\n"_s.arg(QString::fromStdString(generatedDemo().string()))
                .arg(port)
                .toUtf8());
        settings.close();
        return runShell({u"--settings"_s, settings.fileName(), u"--mode"_s, u"CALCULA"_s, u"--filial"_s,
                         branch, u"--servico"_s, service, u"--mes"_s, u"2026-03-01"_s},
                        folder.path(), 90000);
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
