#include "ReportTestSupport.h"

#include "host/context/OperatorContext.h"
#include "host/context/SettingsKeys.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

ReportDevicesSeam::ReportDevicesSeam() {
    auto devices = std::make_unique<RecordingDevices>();
    devices_ = devices.get();
    previous_ = host::setReportDevices(std::move(devices));
}

ReportDevicesSeam::~ReportDevicesSeam() {
    host::setReportDevices(std::move(previous_));
}

ReportFoldersSetting::ReportFoldersSetting() {
    QDir().mkpath(standard());
    host::OperatorContext& context = host::OperatorContext::instance();
    context.set(host::keys::kReportsFolder, folder());
    context.set(host::keys::kReportsStandardFolder, standard());
    context.set(host::keys::kReportsPrintFolder, print());
}

ReportFoldersSetting::~ReportFoldersSetting() {
    host::OperatorContext& context = host::OperatorContext::instance();
    for (const QString& key :
         {host::keys::kReportsFolder, host::keys::kReportsStandardFolder, host::keys::kReportsPrintFolder})
        context.set(key, {});
}

QString writeDefinition(const QString& folder, const host::TReportDefinition& definition) {
    QDir().mkpath(folder);
    const QString path =
        QDir(folder).filePath(host::TReportDefinition::FileName(definition.Screen, definition.Code));
    definition.Save(path);
    return path;
}

QString pdfText(const QString& path) {
    QProcess process;
    process.start(u"pdftotext"_s, {u"-layout"_s, path, u"-"_s});
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        ADD_FAILURE() << "pdftotext failed on " << path.toStdString() << ": "
                      << process.readAllStandardError().toStdString();
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
