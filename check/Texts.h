#pragma once

#include "server/rules/Calendar.h"

#include <QLocale>

#include <optional>
#include <string>
#include <vector>

// How the check's own sentences and files write numbers, days and names, by the host's format
// settings (a locale taken once and handed to each worker: the settings are read on one thread).
namespace check::text {

// Grouped thousands and up to three decimals: "2.400", "0,5".
std::string number(double value, const QLocale& locale);
// No grouping, as a spreadsheet reads a number back: "2400", "0,5".
std::string plainNumber(double value, const QLocale& locale);
std::string dayMonth(server::Day day, const QLocale& locale);                     // 03/03
std::string fullDate(server::Day day, const QLocale& locale);                     // 03/03/2026
std::string dayList(const std::vector<server::Day>& days, const QLocale& locale); // 02/03, 05/03
// "Nome (CODIGO)", or the code alone when the name is unknown.
std::string named(const std::optional<std::string>& name, const std::string& code);

} // namespace check::text
