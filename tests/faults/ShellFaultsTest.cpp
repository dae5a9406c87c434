#include "../shell/ShellProcess.h"
#include "CuttingProxy.h"
#include "GeneratedDemo.h"
#include "ServerProcess.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>

using namespace Qt::StringLiterals;

namespace {

// The shell in calculation mode, as a caller runs it before going on with an operation.
ShellResult calculate(const QTemporaryDir& folder, const QString& service, int port) {
    return runCalculation(folder.path(), QString::fromStdString(generatedDemo().string()), port, u"0001"_s,
                          service, 60000);
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
