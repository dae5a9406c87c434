#pragma once

#include <QString>

#include <memory>

namespace host {

struct TReportTable;

// Where a report goes to be printed or looked at. The host has one for the whole process; tests and
// headless runs put their own in, since neither a printer nor a preview window may wait for a user
// who is not there.
class ReportDevices {
public:
    virtual ~ReportDevices() = default;

    // Prints on the system's default printer; with none, writes a PDF file and tells the user where.
    virtual void print(const TReportTable& table) = 0;
    // Shows the report in a print preview window, from which the user may still print it.
    virtual void preview(const TReportTable& table) = 0;
};

ReportDevices& reportDevices();
// Replaces the devices; answers the previous ones so a test can put them back.
std::unique_ptr<ReportDevices> setReportDevices(std::unique_ptr<ReportDevices> devices);

// Tells the user where a report file went: why a file (when there is a reason), then its path.
void TellReportWritten(const QString& why, const QString& path);

// The PDF file a print without a printer writes for a report: in the print folder, named after the
// title and the moment, never over an earlier one.
QString PrintFilePath(const QString& folder, const QString& title);

} // namespace host
