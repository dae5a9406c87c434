#include "host/report/TReportParams.h"

#include "host/core/Refusal.h"
#include "protocol/DateTime.h"

using namespace Qt::StringLiterals;

namespace host {

TReportParams::TReportParams(const QStringList& declared) {
    for (const QString& name : declared) {
        const QString key = name.toUpper();
        if (names_.contains(key))
            continue;
        names_.append(key);
        params_[key];
    }
}

TParam& TReportParams::ParamByName(const QString& name) {
    const auto found = params_.find(name.toUpper());
    if (found == params_.end())
        throw Refusal(u"A consulta do relatório não tem o parâmetro '%1'."_s.arg(name));
    return found->second;
}

const TParam& TReportParams::ParamByName(const QString& name) const {
    return const_cast<TReportParams*>(this)->ParamByName(name);
}

QDateTime TReportParams::DateTimeOf(double days) {
    const proto::CivilDateTime civil = proto::toCivil(proto::DateTime{days});
    return QDateTime(QDate(civil.year, civil.month, civil.day),
                     QTime(civil.hour, civil.minute, civil.second));
}

bool ExistParam(const TReportParams& params, const QString& name) {
    return params.Contains(name);
}

} // namespace host
