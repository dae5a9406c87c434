#include "host/db/ValidaFilial.h"

#include "host/core/Consiste.h"
#include "host/core/Refusal.h"
#include "host/db/TdtmDBGeral.h"

#include <QSqlQuery>
#include <QVariant>

using namespace Qt::StringLiterals;

namespace host {

namespace {

QSqlQuery run(const QString& statement, const QVariantList& values) {
    QSqlQuery query(TdtmDBGeral::instance().adcGeral());
    query.prepare(statement);
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec())
        throw Refusal(u"Não foi possível consultar as filiais no banco de dados local."_s);
    return query;
}

QSqlQuery branchRow(const QString& code) {
    return run(u"SELECT NMFILIAL, IDCONTRRESC FROM FILIAL WHERE CDFILIAL = ?"_s, {code});
}

} // namespace

bool ContratoRescindido(const QString& cdFilial) {
    QSqlQuery branch = branchRow(AllTrim(cdFilial));
    return branch.next() && branch.value(1).toString() == u"S"_s;
}

QString ValidaFilial(const QString& cdFilial, const QString& operador, bool checkRescinded) {
    if (EmptyString(cdFilial))
        throw Refusal(u"Filial deve ser informada."_s);
    const QString code = AllTrim(cdFilial);
    QSqlQuery branch = branchRow(code);
    if (!branch.next())
        throw Refusal(u"Filial não cadastrada."_s);
    const QString name = branch.value(0).toString();
    if (checkRescinded && branch.value(1).toString() == u"S"_s)
        throw Refusal(u"Filial com contrato rescindido."_s);
    QSqlQuery access =
        run(u"SELECT 1 FROM OPERFILI WHERE CDOPERADOR = ? AND CDFILIAL = ?"_s, {AllTrim(operador), code});
    if (!access.next())
        throw Refusal(u"O operador '%1' não tem permissão para trabalhar na filial '%2'."_s.arg(
            AllTrim(operador), code));
    return name;
}

} // namespace host
