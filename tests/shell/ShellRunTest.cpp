#include "ShellProcess.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

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

TEST_F(ShellRun, HelpDocumentsTheOptionsAndEndsWell) {
    const ShellResult run = runShell({u"--help"_s}, folder.path());
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.out.contains(u"--screenshot"_s));
    EXPECT_TRUE(run.out.contains(u"server/secret_file"_s));
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
    for (const QStringList& launch : {QStringList{}, QStringList{u"--mode"_s, u"FORMULARIO"_s},
                                      QStringList{u"--mode"_s, u"CALCULA"_s, u"--filial"_s, u"0001"_s,
                                                  u"--servico"_s, u"00001"_s, u"--mes"_s, u"2026-03-01"_s}}) {
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
