#pragma once

#include "host/db/TADOIBQuery.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <map>

namespace host {

// The parameters a report's query declares, handed to the screen before the query runs so it can
// give them values. Names compare without case, as the query's own parameters do.
class TReportParams {
public:
    explicit TReportParams(const QStringList& declared);

    // The declared names, upper case, each once, in order of first use.
    const QStringList& Names() const { return names_; }
    bool Contains(const QString& name) const { return names_.contains(name.toUpper()); }
    // Refused for a name the query does not declare.
    TParam& ParamByName(const QString& name);
    const TParam& ParamByName(const QString& name) const;

    // A date-time parameter from the host's day count (days since 1899-12-30).
    static QDateTime DateTimeOf(double days);

private:
    QStringList names_;
    std::map<QString, TParam> params_;
};

// Whether the query behind the collection declares a parameter of that name.
bool ExistParam(const TReportParams& params, const QString& name);

} // namespace host
