#pragma once

#include <QSqlDatabase>
#include <QString>

namespace host {

// The general data module: the host's one connection to the local database, read only. Opened on
// first use from the operator context's database/path; reopened when that path changes.
class TdtmDBGeral {
public:
    static TdtmDBGeral& instance();

    // The open connection adcGeral. Throws Refusal (naming the file) when it cannot be opened; a
    // missing file is never created.
    QSqlDatabase adcGeral();
    // Opens the named file read only, closing any other. Throws Refusal as adcGeral does.
    void open(const QString& path);
    void close();
    bool isOpen() const;
    QString path() const { return path_; }

private:
    TdtmDBGeral() = default;
    QString path_;
};

} // namespace host
