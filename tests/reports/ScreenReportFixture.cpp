#include "ScreenReportFixture.h"

#include "GeneratedDemo.h"

#include "host/context/OperatorContext.h"
#include "host/context/SettingsKeys.h"
#include "host/edit/TDateEditPlus.h"
#include "host/report/ReportFolders.h"
#include "module/Cli_kdr60251.h"

#include <QApplication>
#include <QDir>

using namespace Qt::StringLiterals;
using namespace host;

std::unique_ptr<ServerProcess> ScreenReportTest::server;

void ScreenReportTest::SetUpTestSuite() {
    server = std::make_unique<ServerProcess>(generatedDemo().string());
}

void ScreenReportTest::TearDownTestSuite() {
    server.reset();
}

void ScreenReportTest::SetUp() {
    ModuleTest::SetUp();
    OperatorContext& context = OperatorContext::instance();
    context.set(keys::kDatabasePath, QString::fromStdString(generatedDemo().string()));
    context.set(keys::kServerHost, QString::fromStdString(server->host()));
    context.set(keys::kServerPort, QString::number(server->port()));
    context.set(keys::kOperatorCode, u"DEMO"_s);
    context.set(keys::kOperatorBranch, u"0001"_s);
    context.set(keys::kOperatorBranchLocked, u"false"_s);
    // The shipped definitions as the build put them beside the executables.
    context.set(keys::kReportsStandardFolder, {});
    RestoreStandardReports(StandardReportsFolder(), folders.folder(), u"KDR60251"_s);

    IniProc(QVariant());
    form = frmAnalRestCont;
    ASSERT_NE(form, nullptr);
    GuiDrain();
    QApplication::setActiveWindow(form->window());
    GuiDrain();
    form->rpddPadrao->BeforeGetQueryParams = [this](TReportParams& params, bool& proceed) {
        form->rpddPadraoBeforeGetQueryParams(params, proceed);
        QMap<QString, QVariant> values;
        for (const QString& name : params.Names())
            values[name] = params.ParamByName(name).Value();
        received.push_back(values);
    };
    setMarch();
    seam.recorder().errors.clear();
}

void ScreenReportTest::TearDown() {
    ModuleTest::TearDown();
    OperatorContext& context = OperatorContext::instance();
    for (const QString& key : {keys::kDatabasePath, keys::kServerHost, keys::kServerPort, keys::kOperatorCode,
                               keys::kOperatorBranch, keys::kOperatorBranchLocked})
        context.set(key, {});
}

void ScreenReportTest::mark(const QStringList& codes) {
    for (const QString& code : codes) {
        ASSERT_TRUE(form->cdsServico.Locate(u"CDSERVFILI"_s, code)) << code.toStdString();
        form->cdsServico.Edit();
        form->cdsServico.FieldByName(u"IDMARCADO"_s).SetAsString(u"S"_s);
        form->cdsServico.Post();
    }
}

void ScreenReportTest::setMarch() {
    form->depMes->SetDate(46082); // 2026-03-01
}

void ScreenReportTest::addReport(const QString& code, const QString& query,
                                 const QList<TReportColumn>& columns) {
    const QString path =
        writeDefinition(folders.folder(), {u"KDR60251"_s, code, u"Teste "_s + code, query, columns});
    form->Reports.Add(u"Teste "_s + code, code, path);
    form->cmbRelatorio->setCurrentIndex(form->Reports.Count() - 1);
}
