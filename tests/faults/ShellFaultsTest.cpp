#include "CuttingProxy.h"
#include "GeneratedDemo.h"
#include "ServerProcess.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

QString binaryDir() {
    const char* dir = std::getenv("RESTCONT_BINARY_DIR");
    return QString::fromUtf8(dir ? dir : RESTCONT_BINARY_DIR_DEFAULT);
}

struct CalcRun {
    int status = -1;
    QString out, err;
};

// The shell in calculation mode, offscreen, as a caller runs it before going on with an operation.
CalcRun calculate(const QTemporaryDir& folder, const QString& service, int port) {
    QFile settings(folder.filePath(u"restcont.ini"_s));
    EXPECT_TRUE(settings.open(QIODevice::WriteOnly | QIODevice::Truncate));
    settings.write(
        u"[database]\npath=%1\n[server]\nhost=127.0.0.1\nport=%2\ntimeout_ms=20000\n"
        u"[operator]\ncode=DEMO\nbranch=0001\n"_s.arg(QString::fromStdString(generatedDemo().string()))
            .arg(port)
            .toUtf8());
    settings.close();
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    process.setProcessEnvironment(environment);
    process.start(QDir(binaryDir()).filePath(u"bin/restcont-host"_s),
                  {u"--settings"_s, settings.fileName(), u"--mode"_s, u"CALCULA"_s, u"--filial"_s, u"0001"_s,
                   u"--servico"_s, service, u"--mes"_s, u"2026-03-01"_s});
    CalcRun run;
    if (!process.waitForStarted() || !process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
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
    const CalcRun run = calculate(folder, u"003"_s, proxy.port());
    EXPECT_TRUE(proxy.cut()) << "the run reached the first summary";
    EXPECT_EQ(run.status, 2) << run.out.toStdString() << run.err.toStdString();
    EXPECT_FALSE(run.out.contains(u"cardápio liberado"_s)) << run.out.toStdString();
    EXPECT_TRUE(run.err.contains(u"127.0.0.1:%1"_s.arg(proxy.port())) ||
                run.out.contains(u"127.0.0.1:%1"_s.arg(proxy.port())))
        << "the error names the server: " << run.out.toStdString() << run.err.toStdString();
}

} // namespace
