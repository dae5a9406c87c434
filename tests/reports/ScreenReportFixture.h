#pragma once

#include "ModuleFixture.h"
#include "ReportTestSupport.h"
#include "ServerProcess.h"

#include "host/report/TReportParams.h"
#include "module/TfrmAnalRestCont.h"

#include <QMap>
#include <QPointer>
#include <QVariant>

#include <memory>

// The screen launched on the demo database and a real server on loopback, with the shipped reports
// copied into a reports folder of the test's own; the parameters every report query received are
// kept, as the screen's handler set them.
class ScreenReportTest : public ModuleTest {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    // Marks the services with these codes in the service list, as the user's clicks would.
    void mark(const QStringList& codes);
    // March 2026, the demo's month.
    void setMarch();
    // A report of the screen's own in the reports folder, offered at the end of the lists.
    void addReport(const QString& code, const QString& query, const QList<host::TReportColumn>& columns);

    static std::unique_ptr<ServerProcess> server;
    ReportFoldersSetting folders;
    ReportDevicesSeam devices;
    QPointer<TfrmAnalRestCont> form;
    // One entry per query run: the declared parameters with the values they were given.
    std::vector<QMap<QString, QVariant>> received;
};
