#include "module/TfrmAnalRestCont.h"

#include "host/edit/TDateEditPlus.h"
#include "host/edit/TEdit.h"
#include "host/edit/TMaskEdit.h"
#include "host/format/Formatting.h"

using namespace Qt::StringLiterals;
using namespace host;

QStringList TfrmAnalRestCont::ReportSelection() const {
    // The services as marked in the list, read row by row without moving the current one: a move
    // would reload the result pages.
    QStringList services;
    const int code = cdsServico.FieldByName(u"CDSERVFILI"_s).Index();
    const int name = cdsServico.FieldByName(u"NMSERVICO"_s).Index();
    const int mark = cdsServico.FieldByName(u"IDMARCADO"_s).Index();
    for (int row = 0; row < cdsServico.RecordCount(); ++row)
        if (cdsServico.DisplayTextAt(row, mark) == u"S"_s)
            services << u"%1 - %2"_s.arg(cdsServico.DisplayTextAt(row, code),
                                         cdsServico.DisplayTextAt(row, name));
    return {u"Filial: %1 - %2"_s.arg(medCdFilial->Text(), edtNmFilial->Text()),
            u"Serviços: %1"_s.arg(services.join(u", "_s)),
            u"Mês: %1"_s.arg(FormatDateTime(u"mm/yyyy"_s, depMes->GetPrimDia(), QLocale()))};
}
