#include "results/SummaryRowHint.h"

#include "host/context/FormatSettings.h"
#include "reasons/Reasons.h"

#include <exception>

namespace results {

const host::DataCell* RecordSetRow::cell(std::string_view field) const {
    if (row_ < 0 || row_ >= set_.RecordCount())
        return nullptr;
    const host::TField* found =
        set_.FindField(QString::fromUtf8(field.data(), static_cast<qsizetype>(field.size())));
    return found ? &set_.CellAt(row_, found->Index()) : nullptr;
}

std::optional<QString> RecordSetRow::text(std::string_view field) const {
    const host::DataCell* value = cell(field);
    if (const auto* text = value ? std::get_if<QString>(value) : nullptr)
        return *text;
    return std::nullopt;
}

std::optional<double> RecordSetRow::number(std::string_view field) const {
    const host::DataCell* value = cell(field);
    if (const auto* number = value ? std::get_if<double>(value) : nullptr)
        return *number;
    return std::nullopt;
}

QString SummaryRowHint(const RestrictionCategory& category, const host::TClientDataSet& summary, int row) {
    // The grid asks while Qt handles a tool-tip event: nothing may leave here as an exception, and a
    // hint that cannot be composed is better no hint than an error box under the mouse.
    try {
        return reasons::rowReason(category.summaryMethod, RecordSetRow(summary, row), host::FormatSettings());
    } catch (const std::exception&) {
        return {};
    }
}

} // namespace results
