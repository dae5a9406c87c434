#pragma once

#include <QList>
#include <QString>

namespace host {

// One printed column: the field of the query's result and the heading above it.
struct TReportColumn {
    QString FieldName;
    QString Title;

    bool operator==(const TReportColumn&) const = default;
};

// A report of a screen as its definition file holds it: the screen and report code it belongs to,
// the title, the query (SQL with named parameters, run on the host's general database) and the
// columns to print, in order.
struct TReportDefinition {
    QString Screen;
    QString Code;
    QString Title;
    QString Query;
    QList<TReportColumn> Columns;

    bool operator==(const TReportDefinition&) const = default;

    // The file name of a screen's report: one file per screen and report code.
    static QString FileName(const QString& screen, const QString& code);

    // Reads a definition file. Refuses (naming the file) one that cannot be read, is not a
    // definition or lacks its screen or code.
    static TReportDefinition Load(const QString& path);
    // Writes the definition whole or not at all: a failed save never leaves half a file behind.
    void Save(const QString& path) const;

    // Refuses a definition that could not be run: no title, no query, no columns, a column without
    // its field.
    void CheckComplete() const;
};

} // namespace host
