#pragma once

#include <QObject>
#include <QString>

namespace host {

// The save dialog component of a form; it asks through the host's dialog seam.
class TSaveDialog : public QObject {
    Q_OBJECT
public:
    TSaveDialog(QObject* owner, const QString& name);

    QString Title;
    QString Filter;
    QString InitialDir;
    QString FileName;

    // Asks for a file name; true and FileName set when the user chose one.
    bool Execute();
};

} // namespace host
