#include "module/TfrmAnalRestCont.h"

#include "analysis/ServerInterface.h"
#include "results/RestrictionCategories.h"

using namespace host;
using results::RestrictionCategory;

void TfrmAnalRestCont::CarregaDetalhe(const RestrictionCategory& category) {
    TClientDataSet& summary = *FindRecordSet(QLatin1StringView(category.summarySet));
    if (summary.IsEmpty())
        return;
    TClientDataSet& detail = *FindRecordSet(QLatin1StringView(category.detailSet));
    try {
        analysis::CallServerMethod(netAnalRestCont, QLatin1StringView(category.detailMethod),
                                   results::detailCallArgs(category, summary), detail);
    } catch (...) {
        // The detail grid must never show the days of the row that was current before.
        if (detail.State() == TDataSetState::dsBrowse)
            detail.EmptyDataSet();
        throw;
    }
}
