#pragma once

#include "reasons/RowFields.h"

#include <QLocale>
#include <QString>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Why a result row is an infringement, in one Portuguese sentence composed from that row's own
// numbers: the screen shows it as a summary row's tool tip, the month-wide check prints it with the
// menu days behind the row. Numbers and dates follow the locale given (the host's format settings).
namespace reasons {

using DetailRows = std::vector<std::reference_wrapper<const RowFields>>;

struct ReasonOptions {
    // The weekdays the contract allows the row's dish on, Monday first. Only the weekly dish-use rows
    // read it: their day marks say where the dish was served, not which of those days were refused.
    std::optional<std::array<bool, 7>> allowedWeekdays;
    // At most this many menu days are listed; the rest are told by "...".
    int maxDays = 8;
};

// The eleven summary methods of the server, in the screen's page order; each names a category.
const std::vector<std::string>& categoryMethods();
bool isCategory(std::string_view summaryMethod);
// The detail method whose rows are the menu days behind a summary row of the category.
// Throws std::invalid_argument for a method that names no category.
const std::string& detailMethodOf(std::string_view summaryMethod);

// The sentence for one summary row from its own fields only, e.g.
// "Feijoada (GFEIJ) servida 9 vezes no mês; o contrato permite de 2 a 6". A null or missing field
// leaves its part of the sentence out or says it is unknown; it never fails on the row's content.
// Throws std::invalid_argument for a method that names no category.
QString rowReason(std::string_view summaryMethod, const RowFields& row, const QLocale& locale,
                  const ReasonOptions& options = {});

// The same sentence with the menu days from the row's detail rows added, e.g.
// "... (dias 02, 05, 09, ...)" or "Sódio acima de 2.400 mg em 4 dias: 03/03 2.950; ...".
QString rowReasonWithDays(std::string_view summaryMethod, const RowFields& row, const DetailRows& details,
                          const QLocale& locale, const ReasonOptions& options = {});

// Over packets: row `row` of the summary packet, and the detail packet's rows.
QString rowReason(std::string_view summaryMethod, const proto::Packet& summary, std::size_t row,
                  const QLocale& locale, const ReasonOptions& options = {});
QString rowReasonWithDays(std::string_view summaryMethod, const proto::Packet& summary, std::size_t row,
                          const proto::Packet& detail, const QLocale& locale,
                          const ReasonOptions& options = {});

} // namespace reasons
