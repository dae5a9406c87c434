#pragma once

#include "host/report/TReportDefinition.h"
#include "host/report/TReportParams.h"
#include "host/report/TReportTable.h"

#include <QObject>

#include <functional>
#include <optional>

namespace host {

class TReportDesigner;

// The report designer component of a report form (rpddPadrao): runs a report's query on the host's
// general database and opens the designer window on a definition.
class TReportDesignDialog : public QObject {
    Q_OBJECT
public:
    TReportDesignDialog(QObject* owner, const QString& name);

    // Raised before every query runs, with the parameters the query declares and a flag that stays
    // true for the query to run; a handler that sets it false ends the report without a word.
    std::function<void(TReportParams& params, bool& proceed)> BeforeGetQueryParams;

    // Runs the definition's query with the parameters the handler gave and answers what the report
    // prints. Nothing when the handler stopped it.
    std::optional<TReportTable> Run(const TReportDefinition& definition);

    // Opens the designer on the definition; true, and the definition changed, when the user saved.
    bool Design(TReportDefinition& definition);
    // How the designer window is shown: modal until closed, answering whether it was saved. Tests
    // and headless runs put in their own, which may drive the real window.
    std::function<bool(TReportDesigner& designer)> ExecDesigner;
};

} // namespace host
