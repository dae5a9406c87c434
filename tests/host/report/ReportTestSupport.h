#pragma once

#include "host/report/ReportDevices.h"
#include "host/report/TReportDefinition.h"
#include "host/report/TReportTable.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <vector>

// Puts report devices that keep what they were given in place of the printer and the preview window
// for one test, and the previous ones back after it.
class RecordingDevices : public host::ReportDevices {
public:
    std::vector<host::TReportTable> printed;
    std::vector<host::TReportTable> previewed;
    void print(const host::TReportTable& table) override { printed.push_back(table); }
    void preview(const host::TReportTable& table) override { previewed.push_back(table); }
};

class ReportDevicesSeam {
public:
    ReportDevicesSeam();
    ~ReportDevicesSeam();
    ReportDevicesSeam(const ReportDevicesSeam&) = delete;
    ReportDevicesSeam& operator=(const ReportDevicesSeam&) = delete;
    RecordingDevices& devices() { return *devices_; }

private:
    RecordingDevices* devices_;
    std::unique_ptr<host::ReportDevices> previous_;
};

// A reports folder, a standard folder and a print folder of one test's own, set in the operator
// context for as long as the object lives.
class ReportFoldersSetting {
public:
    ReportFoldersSetting();
    ~ReportFoldersSetting();
    ReportFoldersSetting(const ReportFoldersSetting&) = delete;
    ReportFoldersSetting& operator=(const ReportFoldersSetting&) = delete;

    QString folder() const { return root_.filePath(QStringLiteral("relatorios")); }
    QString standard() const { return root_.filePath(QStringLiteral("padrao")); }
    QString print() const { return root_.filePath(QStringLiteral("impressos")); }
    QString file(const QString& name) const { return root_.filePath(name); }

private:
    QTemporaryDir root_;
};

// Writes a definition into a folder under its own file name and answers the path.
QString writeDefinition(const QString& folder, const host::TReportDefinition& definition);

// The text of a PDF file as pdftotext reads it back, laid out as printed.
QString pdfText(const QString& path);
// The file's bytes; empty when it cannot be read.
QByteArray fileBytes(const QString& path);
