#pragma once

#include <QString>

#include <string>
#include <string_view>
#include <vector>

namespace reasons {

// How many of what a row counts.
enum class Noun { Times, Days, Dishes };
// How the detail rows show under a row: their days, or each day's (or item's) quantity.
enum class DayList { Days, Quantities };

// One category: its sentence, with the tokens that Reasons.cpp fills from the row's fields, and the
// fields each token reads. A null field name: the category has no such part.
struct Category {
    std::string method;
    std::string detailMethod;
    QString sentence;
    const char* itemName;
    const char* itemCode;
    const char* count;
    Noun noun;
    const char* minBound = nullptr;
    const char* maxBound = nullptr;
    const char* unit = nullptr;
    // Per-capita per dish: the dish the product is limited within.
    const char* dishName = nullptr;
    const char* dishCode = nullptr;
    DayList days = DayList::Days;
    // The detail field whose sum per day (or per item) is shown.
    const char* quantity = nullptr;
    // Quantities summed per menu item instead of per day.
    bool perItem = false;
    // The row's weekday marks say where the dish was served, not which day the contract refused.
    bool weekdayMarks = false;
};

const std::vector<Category>& categories();
// Nothing for a method that names no category.
const Category* findCategory(std::string_view method);

} // namespace reasons
