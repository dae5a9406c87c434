#pragma once

#include "host/data/TClientDataSet.h"
#include "reasons/RowFields.h"
#include "results/RestrictionCategories.h"

#include <QString>

namespace results {

// One row of a record set as the sentences read it, in place: a row the set does not have reads as
// a row without fields.
class RecordSetRow final : public reasons::RowFields {
public:
    RecordSetRow(const host::TClientDataSet& set, int row) : set_(set), row_(row) {}
    std::optional<QString> text(std::string_view field) const override;
    std::optional<double> number(std::string_view field) const override;

private:
    const host::DataCell* cell(std::string_view field) const;

    const host::TClientDataSet& set_;
    int row_;
};

// What the tool tip of a summary row says: why the row is an infringement, from that row's own
// fields, by the host's format settings. It asks the server nothing.
QString SummaryRowHint(const RestrictionCategory& category, const host::TClientDataSet& summary, int row);

} // namespace results
