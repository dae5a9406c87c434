#include "host/report/TReportDesignDialog.h"

#include "host/app/TApplication.h"
#include "host/core/Refusal.h"
#include "host/report/TReportDesigner.h"

#include <QDateTime>
#include <QGuiApplication>
#include <QMainWindow>

using namespace Qt::StringLiterals;

namespace host {

namespace {

// SQLite keeps dates as "YYYY-MM-DD" text: a date bound as "YYYY-MM-DDT00:00:00" would sort after
// the same day and drop it from a BETWEEN. A date-time at midnight binds as the date alone.
QVariant bindable(const QVariant& value) {
    if (value.metaType().id() != QMetaType::QDateTime)
        return value;
    const QDateTime moment = value.toDateTime();
    if (moment.time() == QTime(0, 0))
        return moment.date().toString(u"yyyy-MM-dd"_s);
    return moment.toString(u"yyyy-MM-dd HH:mm:ss"_s);
}

bool execModal(TReportDesigner& designer) {
    // Headless, nobody could close the window: it counts as cancelled.
    if (QGuiApplication::platformName() == u"offscreen"_s)
        return false;
    return designer.exec() == QDialog::Accepted;
}

} // namespace

TReportDesignDialog::TReportDesignDialog(QObject* owner, const QString& name) : QObject(owner) {
    setObjectName(name);
    ExecDesigner = execModal;
}

std::optional<TReportTable> TReportDesignDialog::Run(const TReportDefinition& definition) {
    definition.CheckComplete();
    TADOIBQuery query(u"%1_%2"_s.arg(definition.Screen, definition.Code));
    query.SQL = definition.Query;
    TReportParams params(TADOIBQuery::toPositional(definition.Query).names);
    bool proceed = true;
    if (BeforeGetQueryParams)
        BeforeGetQueryParams(params, proceed);
    if (!proceed)
        return std::nullopt;
    for (const QString& name : params.Names())
        query.ParamByName(name).SetValue(bindable(params.ParamByName(name).Value()));
    query.Open();
    return TReportTable::From(definition, query);
}

bool TReportDesignDialog::Design(TReportDefinition& definition) {
    TReportDesigner designer(definition, Application().MainForm());
    if (!ExecDesigner(designer))
        return false;
    definition = designer.Definition();
    return true;
}

} // namespace host
