#pragma once

#include "check/Writer.h"

// The formats behind makeWriter, one file each.
namespace check {

std::unique_ptr<Writer> makeTextWriter(std::ostream& out, const WriterSettings& settings);
std::unique_ptr<Writer> makeCsvWriter(std::ostream& out, const WriterSettings& settings);
std::unique_ptr<Writer> makeHtmlWriter(std::ostream& out, const WriterSettings& settings);

// The number of a row that counts what infringes (its count field), when the category has one.
std::optional<double> rowCount(const std::string& method, const Json& row);

} // namespace check
