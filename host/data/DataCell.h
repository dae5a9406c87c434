#pragma once

#include <QString>

#include <variant>

namespace host {

// One stored value of a record set: null, text, or a number (floats and date-times, the latter as
// days since 1899-12-30). The field that owns the column gives it its meaning.
using DataCell = std::variant<std::monostate, QString, double>;

} // namespace host
