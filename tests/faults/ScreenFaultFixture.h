#pragma once

#include "GeneratedDemo.h"
#include "ModuleFixture.h"
#include "ServerProcess.h"

#include "host/app/ShowAvi.h"
#include "host/app/TCheckBox.h"
#include "host/app/TSpeedButton.h"
#include "host/context/OperatorContext.h"
#include "host/context/SettingsKeys.h"
#include "protocol/DateTime.h"

#include <QTest>

#include <csignal>
#include <functional>
#include <memory>
#include <string>

// Test code only: the screen's tests read like the screen's code.
using namespace Qt::StringLiterals;
using namespace host;

inline double marchDay(int d) {
    return static_cast<double>(proto::fromCivil({2026, 3, d}).days);
}

// The screen as the host launches it, over the demo database, against a server a test chooses
// (the real one, or a front that breaks one call of it). Errors reach the recorder through the
// same boundary a user's click passes.
class ScreenFaults : public ModuleTest {
protected:
    void TearDown() override {
        ModuleTest::TearDown();
        OperatorContext::instance().clear();
    }

    static void useServer(int port, int timeoutMs = 20000) {
        auto& context = OperatorContext::instance();
        context.clear();
        context.set(keys::kDatabasePath, QString::fromStdString(generatedDemo().string()));
        context.set(keys::kServerHost, u"127.0.0.1"_s);
        context.set(keys::kServerPort, QString::number(port));
        context.set(keys::kServerTimeoutMs, QString::number(timeoutMs));
        context.set(keys::kOperatorCode, u"DEMO"_s);
        context.set(keys::kOperatorBranch, u"0001"_s);
    }

    // Launches like the host; beforeActivation runs on the new form before its first activation.
    TfrmAnalRestCont* launch(const QString& mode, const QString& service,
                             const std::function<void(TfrmAnalRestCont&)>& beforeActivation = {}) {
        IniProc(QVariantList{mode, u"0001"_s, service, marchDay(1), QVariant::fromValue(quintptr(&cell))});
        if (beforeActivation && frmAnalRestCont)
            beforeActivation(*frmAnalRestCont);
        GuiDrain();
        return frmAnalRestCont;
    }

    // The user's click on the verify button, through the dispatch boundary.
    void pressVerify() {
        QTest::mouseClick(form->sbtVerificar, Qt::LeftButton);
        GuiDrain();
    }

    // Before a local server goes: a screen left connected would hold its keep-alive connection.
    void closeScreen() {
        if (frmAnalRestCont)
            frmAnalRestCont->Close();
        GuiDrain();
        form = nullptr;
    }

    void checkAll() {
        for (TCheckBox* box : {form->chbFreqPrat, form->chbFreqOpca, form->chbUtilPrat, form->chbLimPerSer,
                               form->chbLimPerPrat, form->chbLimNutri, form->chbRestPrat, form->chbRestOpca,
                               form->chbRestProd})
            box->SetChecked(true);
    }

    // The summary flags in the run's order, then boDataSemana.
    static std::vector<bool> flags() {
        std::vector<bool> values;
        for (bool* flag : reloadFlags())
            values.push_back(*flag);
        return values;
    }

    QStringList errors() { return seam.recorder().errors; }

    bool cell = false;
    TfrmAnalRestCont* form = nullptr;
};

// Dies at once, as a crash or an operator's kill would end it, and is reaped.
inline void killNow(ServerProcess& server) {
    if (server.pid() > 0)
        ::kill(server.pid(), SIGKILL);
    server.stop();
}
