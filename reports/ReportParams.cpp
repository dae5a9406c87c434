#include "module/TfrmAnalRestCont.h"

#include "module/Cli_kdr60251.h"

#include "host/core/Refusal.h"
#include "host/edit/TDateEditPlus.h"
#include "host/edit/TMaskEdit.h"

using namespace Qt::StringLiterals;
using namespace host;

void TfrmAnalRestCont::rpddPadraoBeforeGetQueryParams(TReportParams& params, bool& /*proceed*/) {
    // Both run for every query, whatever it declares; a failure of the week fetch ends the report
    // before any parameter is set.
    CarregaDataSemana();
    MontaListaServ();

    const auto semana = [this](const QString& field) {
        // With no week row the report would print the menus of no week at all.
        if (cdsDataSemana.IsEmpty())
            throw Refusal(
                u"O servidor não informou o período semanal do mês; o relatório não pôde ser feito."_s);
        return TReportParams::DateTimeOf(cdsDataSemana.FieldByName(field).AsDateTime());
    };
    const struct {
        QString name;
        std::function<QVariant()> value;
    } parametros[] = {
        {u"P_CDFILIAL"_s, [this] { return QVariant(medCdFilial->Text()); }},
        {u"P_CDSERVFILI"_s, [] { return QVariant(stListaServ); }},
        {u"P_DTPRIMDIASEM"_s, [&] { return QVariant(semana(u"DTPRIMEIRA"_s)); }},
        {u"P_DTULTIDIASEM"_s, [&] { return QVariant(semana(u"DTULTIMA"_s)); }},
        {u"P_DTPRIMDIAMES"_s, [this] { return QVariant(TReportParams::DateTimeOf(depMes->GetPrimDia())); }},
        {u"P_DTULTIDIAMES"_s, [this] { return QVariant(TReportParams::DateTimeOf(depMes->GetUltDia())); }},
    };
    for (const auto& parametro : parametros)
        if (ExistParam(params, parametro.name))
            params.ParamByName(parametro.name).SetValue(parametro.value());
}
