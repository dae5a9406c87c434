#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace host {

// Where the definitions live. The reports folder (reports/folder) holds the definitions the screens
// offer and the user edits; the standard folder (reports/standard_folder, else reports/standard
// beside the executables' folder) holds the ones shipped with the suite. Without a reports folder
// the shipped definitions are offered as they are.
QString ReportsFolder();
QString StandardReportsFolder();
// Where printing writes its PDF when there is no printer (reports/print_folder, else the user's
// documents folder).
QString ReportPrintFolder();
// The user's documents folder, where saving a report starts; the home folder when the system names
// none.
QString UserDocumentsFolder();

// A definition file of a screen found in a folder.
struct ReportFile {
    QString Code;
    QString Title;
    QString Path;
};

// The definitions of one screen in a folder, by code. A file that cannot be read is still listed,
// with its code and a title saying so, so that choosing it tells the user why it does not run.
std::vector<ReportFile> ListReportFiles(const QString& folder, const QString& screen);

// Copies every shipped definition of the screen over the one of the same code in the reports folder
// (created when missing) and answers how many it copied. Definitions the user added stay.
int RestoreStandardReports(const QString& standardFolder, const QString& folder, const QString& screen);

// The first two-character code from "01" to "99" that is not taken. Refused when all are.
QString NextReportCode(const QStringList& taken);

} // namespace host
