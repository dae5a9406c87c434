#pragma once

#include "GeneratedDemo.h"
#include "ModuleFixture.h"
#include "RefusalOf.h"
#include "ServerProcess.h"

#include "host/context/OperatorContext.h"
#include "host/context/SettingsKeys.h"
#include "protocol/DateTime.h"

#include <QStringList>

#include <chrono>
#include <memory>
#include <sstream>
#include <thread>

// Test code only: the screen's tests read like the screen's code.
using namespace Qt::StringLiterals;
using namespace host;

inline double day(int y, int m, int d) {
    return static_cast<double>(proto::fromCivil({y, m, d}).days);
}

// The screen end to end: launched as the host launches it, over the demo database, talking to the
// real server, whose request log tells which methods it was asked for.
class AnalysisScreenTest : public ModuleTest {
protected:
    static void SetUpTestSuite() {
        ServerProcess::Options options;
        options.captureStderr = true;
        server = std::make_unique<ServerProcess>(generatedDemo().string(), options);
    }
    static void TearDownTestSuite() { server.reset(); }

    void SetUp() override {
        ModuleTest::SetUp();
        useServer(server->port());
    }
    void TearDown() override {
        ModuleTest::TearDown();
        OperatorContext::instance().clear();
    }

    static void useServer(int port) {
        auto& context = OperatorContext::instance();
        context.clear();
        context.set(keys::kDatabasePath, QString::fromStdString(generatedDemo().string()));
        context.set(keys::kServerHost, u"127.0.0.1"_s);
        context.set(keys::kServerPort, QString::number(port));
        context.set(keys::kServerTimeoutMs, u"20000"_s);
        context.set(keys::kOperatorCode, u"DEMO"_s);
        context.set(keys::kOperatorBranch, u"0001"_s);
    }

    // Launches like the host and lets the first activation run.
    TfrmAnalRestCont* launch(const QString& mode, const QString& branch, const QString& service,
                             double month) {
        IniProc(QVariantList{mode, branch, service, month, QVariant::fromValue(quintptr(&cell))});
        GuiDrain();
        return frmAnalRestCont;
    }

    // The methods the server was asked for since the last call.
    QStringList methodsCalled() {
        // The server logs a request after it has answered it: wait until the log has settled.
        std::string log = server->stderrText();
        for (int quiet = 0, round = 0; quiet < 3 && round < 100; ++round) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            std::string now = server->stderrText();
            quiet = now == log ? quiet + 1 : 0;
            log = std::move(now);
        }
        std::istringstream lines(log.substr(logSeen));
        logSeen = log.size();
        QStringList methods;
        std::string line;
        while (std::getline(lines, line)) {
            const std::string prefix = "POST /rpc ";
            if (line.rfind(prefix, 0) != 0)
                continue;
            const std::string rest = line.substr(prefix.size());
            methods << QString::fromStdString(rest.substr(0, rest.find(' ')));
        }
        return methods;
    }

    void checkOnly(TCheckBox* box) {
        for (TCheckBox* each : {form->chbFreqPrat, form->chbFreqOpca, form->chbUtilPrat, form->chbLimPerSer,
                                form->chbLimPerPrat, form->chbLimNutri, form->chbRestPrat, form->chbRestOpca,
                                form->chbRestProd})
            each->SetChecked(each == box);
    }

    static inline std::unique_ptr<ServerProcess> server;
    bool cell = false;
    std::size_t logSeen = 0;
    TfrmAnalRestCont* form = nullptr;
};
