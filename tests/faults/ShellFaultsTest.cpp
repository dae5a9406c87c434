#include "../shell/ShellProcess.h"
#include "CuttingProxy.h"
#include "GeneratedDemo.h"
#include "ServerProcess.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>

using namespace Qt::StringLiterals;

namespace {

// The shell in calculation mode, as a caller runs it before going on with an operation.
ShellResult calculate(const QTemporaryDir& folder, const QString& service, int port) {
    QFile settings(folder.filePath(u"restcont.ini"_s));
    EXPECT_TRUE(settings.open(QIODevice::WriteOnly | QIODevice::Truncate));
    settings.write(
        u"[database]\npath=%1\n[server]\nhost=127.0.0.1\nport=%2\ntimeout_ms=20000\n"
        u"[operator]\ncode=DEMO\nbranch=0001\n"_s.arg(QString::fromStdString(generatedDemo().string()))
            .arg(port)
            .toUtf8());
    settings.close();
    return runShell({u"--settings"_s, settings.fileName(), u"--mode"_s, u"CALCULA"_s, u"--filial"_s,
                     u"0001"_s, u"--servico"_s, service, u"--mes"_s, u"2026-03-01"_s},
                    folder.path());
}

TEST(ShellFaults, AServerKilledInTheMiddleOfTheAnalysisEndsWithStatusTwoNeverClear) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    ServerProcess server(generatedDemo().string());
    // Service 003 is clear. The calls: the service list, the week span, then the first summary,
    // where the server dies.
    CuttingProxy proxy(server.port(), 3, [&] {
        ::kill(server.pid(), SIGKILL);
        server.stop();
    });
    const ShellResult run = calculate(folder, u"003"_s, proxy.port());
    EXPECT_TRUE(proxy.cut()) << "the run reached the first summary";
    EXPECT_EQ(run.status, 2) << run.out.toStdString() << run.err.toStdString();
    EXPECT_FALSE(run.out.contains(u"cardápio liberado"_s)) << run.out.toStdString();
    EXPECT_TRUE(run.err.contains(u"127.0.0.1:%1"_s.arg(proxy.port())) ||
                run.out.contains(u"127.0.0.1:%1"_s.arg(proxy.port())))
        << "the error names the server: " << run.out.toStdString() << run.err.toStdString();
}

} // namespace
