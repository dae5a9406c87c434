#pragma once

#include "host/data/TAlignment.h"
#include "host/report/TReportDefinition.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class QPagedPaintDevice;
class QTextDocument;

namespace host {

class TClientDataSet;

// What a report prints: its title, the column headings and one line of cell texts per row of the
// query's result. Printing, preview, PDF and CSV are all made from it, so what the user sees on
// paper and in a file is one and the same.
struct TReportTable {
    QString Title;
    QStringList Headers;
    std::vector<QStringList> Rows;
    // Per column, its field's alignment: numbers line up on the right on paper as in the grids.
    std::vector<TAlignment> Alignments;
    // The lines under the title on every page: what was selected, who printed it and when.
    QStringList HeaderLines;

    // The definition's columns over the query's rows, each cell as its field shows it. A column whose
    // field the query does not answer is refused, naming the field.
    static TReportTable From(const TReportDefinition& definition, const TClientDataSet& data);

    // The table as a document to print: title, then a table with the headings and the rows.
    std::unique_ptr<QTextDocument> Document() const;
    // UTF-8 with a byte-order mark, ";" between fields (the decimal comma of the locale rules out
    // ","), every field quoted when it holds a separator, a quote or a line break.
    QByteArray Csv() const;
    // Lays the report out on the device's pages: the title and the header lines at the top of each
    // page, the table below them, "página N de M" at the foot. Printing, the preview and the PDF file
    // all go through it, so they show one and the same layout.
    void Paint(QPagedPaintDevice& device) const;
    // Writes the pages as a PDF file; refused when the file cannot be written.
    void WritePdf(const QString& path) const;
};

} // namespace host
