#pragma once

#include "server/rules/Calendar.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace server {

// A dish, product or nutrient as a row names it: the code always, the name when the code is known.
struct Named {
    std::string code;
    std::optional<std::string> name;
};

struct ProductLine {
    std::string product;
    double quantity = 0;
    std::optional<std::string> name, unit, treeCode, group;
};

// One dish served on a day of a service, with its product lines in product-code order.
struct MenuItem {
    Day day = 0;
    std::int64_t sequence = 0; // NRSEQPRATCAR
    std::int64_t order = 0;    // NRORDPRATCAR
    std::string dish;
    std::optional<std::string> dishName, dishGroup, typeName;
    bool option = false;
    std::vector<ProductLine> lines;
};

// A null bound is no bound; a value equal to a bound is inside; no tolerance.
struct Range {
    std::optional<double> min, max;
    bool outside(double value) const { return (min && value < *min) || (max && value > *max); }
};

struct NutrientDay {
    std::string nutrient;
    Day day = 0;
    double quantity = 0;
};

struct Service {
    std::string code, name, branch;
};

struct FrequencyLimit {
    Named dish;
    std::optional<double> maxWeek, minMonth, maxMonth;
};

struct UsageRule {
    Named dish;
    std::array<bool, 7> allowed{}; // Monday first
};

struct RestrictedProduct {
    Named product;
    std::optional<std::string> treeCode;
};

struct ProductLimit {
    Named product;
    Range range;
};

struct DishProductLimit {
    Named dish, product;
    Range range;
};

struct NutrientLimit {
    Named nutrient;
    std::optional<std::string> unit;
    Range range;
};

} // namespace server
