#pragma once

#include "ModuleFixture.h"
#include "QStringPrinter.h"
#include "RefusalOf.h"
#include "ServerProcess.h"

#include "host/app/TApplication.h"
#include "host/app/TCheckBox.h"
#include "host/context/OperatorContext.h"
#include "host/context/SettingsKeys.h"
#include "host/db/TdtmDBGeral.h"
#include "protocol/DateTime.h"

#include <QMainWindow>
#include <QStringList>

#include <chrono>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

// Test code only: the screen's tests read like the screen's code.
using namespace Qt::StringLiterals;
using namespace host;

inline double day(int y, int m, int d) {
    return static_cast<double>(proto::fromCivil({y, m, d}).days);
}

// The screen launched as the host launches it, talking to the real server over one database, which
// is also the host's local database; the server's request log tells which methods it was asked for.
// A suite starts the server once, in its SetUpTestSuite, with startServer.
class ScreenServerTest : public ModuleTest {
protected:
    static void startServer(const std::string& database, const std::string& operatorCode,
                            ServerProcess::Options options = {}) {
        options.captureStderr = true;
        server = std::make_unique<ServerProcess>(database, options);
        databasePath = database;
        operatorName = operatorCode;
    }
    static void TearDownTestSuite() { server.reset(); }

    void SetUp() override {
        ModuleTest::SetUp();
        useServer(server->port());
        logSeen = server->stderrText().size();
    }
    void TearDown() override {
        ModuleTest::TearDown();
        OperatorContext::instance().clear();
    }

    static void useServer(int port) {
        auto& context = OperatorContext::instance();
        context.clear();
        // The local database may be another suite's: it is opened again from the path set here.
        TdtmDBGeral::instance().close();
        context.set(keys::kDatabasePath, QString::fromStdString(databasePath));
        context.set(keys::kServerHost, u"127.0.0.1"_s);
        context.set(keys::kServerPort, QString::number(port));
        context.set(keys::kServerTimeoutMs, u"20000"_s);
        context.set(keys::kOperatorCode, QString::fromStdString(operatorName));
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

    // The nine option boxes of the restriction categories.
    std::vector<TCheckBox*> optionBoxes() const {
        return {form->chbFreqPrat,  form->chbFreqOpca,   form->chbUtilPrat,
                form->chbLimPerSer, form->chbLimPerPrat, form->chbLimNutri,
                form->chbRestPrat,  form->chbRestOpca,   form->chbRestProd};
    }
    void checkOnly(TCheckBox* box) {
        for (TCheckBox* each : optionBoxes())
            each->SetChecked(each == box);
    }
    void checkAll() {
        for (TCheckBox* each : optionBoxes())
            each->SetChecked(true);
    }

    // The menu days of a set, in its order, as ISO dates.
    static QStringList menuDays(TClientDataSet& set) {
        QStringList days;
        for (set.First(); !set.Eof(); set.Next())
            days << QString::fromStdString(
                proto::formatDate(proto::DateTime{set.FieldByName(u"DTCARDAPIO"_s).AsDateTime()}));
        return days;
    }

    static inline std::unique_ptr<ServerProcess> server;
    static inline std::string databasePath;
    static inline std::string operatorName;
    bool cell = false;
    std::size_t logSeen = 0;
    TfrmAnalRestCont* form = nullptr;
};
