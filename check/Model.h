#pragma once

#include "server/rules/Calendar.h"

#include <nlohmann/json.hpp>

#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace check {

// Output objects keep their members in the order written: a row's fields in its record's order.
using Json = nlohmann::ordered_json;

// An empty object with room for `members`: the ordered object keeps its members in a vector of
// pairs with a constant key, whose move may throw, so each time that vector grows it copies every
// member already in it, deeply; built with room it never grows.
Json objectWithRoom(std::size_t members);

enum class Verdict { Clear, Blocked, Error, Skipped };

// The JSON word of a verdict.
const char* verdictName(Verdict verdict);
// The Portuguese word of a verdict for people: livre, bloqueado, erro, ignorado.
const char* verdictWord(Verdict verdict);

// One summary row of an infringed category, with the menu days behind it.
struct Infringement {
    Json row;           // the summary row, field name to value
    Json days;          // the detail rows, each field name to value
    std::string why;    // the composed sentence; empty until composed
    std::string change; // against a baseline: "new" or "still"; empty without one
};

struct CategoryResult {
    std::string method; // the server's summary method
    std::vector<Infringement> rows;
};

// Something apart from the breaches: a warning about the data or a contradiction of the contract.
struct Finding {
    std::string kind;
    std::string text; // the sentence a person reads
};

struct ServiceResult {
    std::string branch, service, name;
    Verdict verdict = Verdict::Error;
    std::string reason;                     // error and skipped
    std::vector<CategoryResult> categories; // the infringed ones, in calculation mode's order
    std::vector<Finding> warnings;
    std::vector<Finding> contradictions;
};

// A service-month to judge, in output order.
struct Target {
    std::string branch, service, name;
    std::string skipReason; // a rescinded contract: listed, not judged
};

struct Month {
    std::string text; // YYYY-MM
    server::DaySpan span;
};

// Refuses anything but YYYY-MM of a real month (std::invalid_argument in Portuguese).
Month parseMonth(const std::string& text);

// The codes and names a row is about, and its week: "Feijoada (GFEIJ), semana 02".
std::string rowLabel(const Json& row);
// The distinct menu days of an infringement's detail rows, in order.
std::vector<server::Day> infringementDays(const Infringement& infringement);
// The first number among a row's fields whose name starts with one of the prefixes (its count, its
// minimum or its maximum); nothing when there is none or it is null.
std::optional<double> rowNumber(const Json& row, std::initializer_list<const char*> prefixes);
// The caption of a category's page on the screen.
const char* categoryCaption(const std::string& method);

// The codes that identify an infringement's row: what the baseline compares by.
std::string rowIdentity(const std::string& method, const Json& row);

} // namespace check
