#include "ShellProcess.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

class ShellRun : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        QFile settings(folder.filePath(u"restcont.ini"_s));
        ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
        settings.write("[operator]\ncode=TESTE\nbranch=0001\n[server]\nhost=127.0.0.1\nport=1\n");
    }
    QString settingsFile() const { return folder.filePath(u"restcont.ini"_s); }
    QTemporaryDir folder;
};

} // namespace

// Without a runtime folder Qt warns about it while the application object is built.
const QList<std::pair<QString, QString>> kNoRuntimeFolder{{u"XDG_RUNTIME_DIR"_s, QString()}};

TEST_F(ShellRun, HelpDocumentsTheOptionsAndEndsWell) {
    const ShellResult run = runShell({u"--help"_s}, folder.path(), 60000, kNoRuntimeFolder);
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.out.contains(u"--screenshot"_s));
    EXPECT_TRUE(run.out.contains(u"server/secret_file"_s));
    EXPECT_TRUE(run.err.isEmpty()) << "Qt's own warnings stay out: " << run.err.toStdString();
}

TEST_F(ShellRun, QtsOwnMessagesPassOnlyWhenAskedFor) {
    const ShellResult run =
        runShell({u"--qt-messages"_s, u"--help"_s}, folder.path(), 60000, kNoRuntimeFolder);
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.err.contains(u"XDG_RUNTIME_DIR"_s)) << run.err.toStdString();
}

TEST_F(ShellRun, ACalculationLackingWhatItNeedsIsRefusedNamingTheOptionAndTheKey) {
    struct Case {
        QStringList arguments;
        QStringList named;
    };
    const QString db = folder.filePath(u"local.db"_s);
    const QStringList calc{u"--settings"_s, settingsFile(), u"--mode"_s, u"CALCULA"_s,
                           u"--servico"_s,  u"003"_s,       u"--mes"_s,  u"2026-03-01"_s};
    const Case cases[] = {
        {calc, {u"--database"_s, u"database/path"_s}},
        {calc + QStringList{u"--database"_s, db, u"--operator"_s, u""_s},
         {u"--operator"_s, u"operator/code"_s}},
        {calc + QStringList{u"--database"_s, db, u"--operator-branch"_s, u""_s},
         {u"--filial"_s, u"--operator-branch"_s, u"operator/branch"_s}},
        {QStringList{u"--settings"_s, settingsFile(), u"--database"_s, db, u"--mode"_s, u"CALCULA"_s,
                     u"--mes"_s, u"2026-03-01"_s},
         {u"--servico"_s}},
        {QStringList{u"--settings"_s, settingsFile(), u"--database"_s, db, u"--mode"_s, u"CALCULA"_s,
                     u"--servico"_s, u"003"_s},
         {u"--mes"_s}},
        {QStringList{u"--mode"_s, u"calcula"_s}, {u"CALCULA"_s}},
    };
    for (const Case& c : cases) {
        const ShellResult run = runShell(c.arguments, folder.path());
        EXPECT_EQ(run.status, 2) << c.arguments.join(u' ').toStdString();
        for (const QString& name : c.named)
            EXPECT_TRUE(run.err.contains(name)) << name.toStdString() << ": " << run.err.toStdString();
        EXPECT_FALSE(run.out.contains(u"Resultado do cálculo"_s)) << "refused before any screen";
    }
}

TEST_F(ShellRun, FailuresBeforeTheScreenEndWithStatusTwoAndAPortugueseMessage) {
    struct Case {
        QStringList arguments;
        QString message;
    };
    const Case cases[] = {
        {{u"--modo"_s, u"CALCULA"_s}, u"Opção desconhecida: '--modo'."_s},
        {{u"--settings"_s, u"nao-existe.ini"_s}, u"Não foi possível ler o arquivo de configuração"_s},
        {{u"--settings"_s, settingsFile(), u"--package"_s, u"nao-existe.so"_s},
         u"Não foi possível carregar o pacote"_s},
        {{u"--settings"_s, settingsFile(), u"--mes"_s, u"2026-13-01"_s}, u"Data inválida em --mes"_s},
    };
    for (const Case& c : cases) {
        const ShellResult run = runShell(c.arguments, folder.path());
        EXPECT_EQ(run.status, 2) << c.arguments.join(u' ').toStdString();
        EXPECT_TRUE(run.err.contains(c.message)) << run.err.toStdString();
    }
}

TEST_F(ShellRun, ScreenshotIsWrittenAfterTheFirstActivationInEveryMode) {
    for (const QStringList& launch :
         {QStringList{}, QStringList{u"--mode"_s, u"FORMULARIO"_s},
          QStringList{u"--database"_s, u"nao-existe.db"_s, u"--mode"_s, u"CALCULA"_s, u"--filial"_s,
                      u"0001"_s, u"--servico"_s, u"00001"_s, u"--mes"_s, u"2026-03-01"_s}}) {
        const QString picture = folder.filePath(u"tela.png"_s);
        QFile::remove(picture);
        const ShellResult run = runShell(
            QStringList{u"--settings"_s, settingsFile(), u"--screenshot"_s, picture} + launch, folder.path());
        // No server listens on port 1: the calculation cannot judge the menu, the other modes only
        // show the failure.
        EXPECT_EQ(run.status, launch.contains(u"CALCULA"_s) ? 2 : 0)
            << launch.join(u' ').toStdString() << run.err.toStdString();
        const QImage image(picture);
        ASSERT_FALSE(image.isNull()) << launch.join(u' ').toStdString();
        EXPECT_GE(image.width(), 579);
        EXPECT_GE(image.height(), 360);
        if (launch.contains(u"CALCULA"_s)) {
            EXPECT_TRUE(run.out.contains(u"a análise não foi concluída"_s)) << run.out.toStdString();
        }
    }
}
