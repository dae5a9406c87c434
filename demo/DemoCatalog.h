#pragma once

#include <array>
#include <string>
#include <vector>

namespace demo {

class SqlDatabase;

enum class Meal { Desjejum, Almoco, Jantar, Ceia };

struct ServiceDef {
    const char* code;
    const char* name;
    Meal meal;
};

struct BranchDef {
    const char* code;
    const char* name;
    bool rescinded;
    // Weekdays served, counted from Monday: 7 every day, 6 closed on Sundays, 5 weekdays only.
    int daysOpen;
    std::vector<ServiceDef> services;
    // The branch whose menus this one repeats under its own code; its own when null.
    const char* menusOf = nullptr;
};

// Quantities of a product per 100 of its unit: kcal, proteins, carbohydrates, fat, sodium (mg), fibre.
using NutrientProfile = std::array<double, 6>;

struct ProductDef {
    const char* code;
    const char* name;
    const char* unit;
    const char* arv;
    const char* group; // empty: not in a group
    NutrientProfile per100;
};

struct RecipeLine {
    const char* product;
    int quantity; // per capita, in the product's unit
};

struct DishDef {
    const char* code;
    const char* name;
    const char* group; // empty: not in a group
    std::vector<RecipeLine> recipe;
};

struct GroupDef {
    const char* code;
    const char* name;
    const char* unit; // products only
    const char* arv;  // products only
};

struct NamedCode {
    const char* code;
    const char* name;
    const char* unit;
};

const std::vector<BranchDef>& branches();
const std::vector<GroupDef>& dishGroups();
const std::vector<DishDef>& dishes();
const DishDef& dish(const std::string& code);
const std::vector<GroupDef>& productGroups();
const std::vector<ProductDef>& products();
const ProductDef& product(const std::string& code);
const std::vector<NamedCode>& dishTypes();
const std::vector<NamedCode>& nutrients();

inline constexpr const char* kProcessingDate = "2026-03-15";

// The branches given with their operators and services; dish types, dishes, products and nutrients.
void writeCatalog(SqlDatabase& db, const std::vector<BranchDef>& branchList);

} // namespace demo
