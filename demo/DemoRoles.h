#pragma once

#include <array>
#include <string>
#include <vector>

namespace demo {

// The eleven restriction categories in the order the screen numbers them.
enum class Category {
    FreqPratSem,
    FreqPratMes,
    FreqOpcaSem,
    FreqOpcaMes,
    RestPratMes,
    RestOpcaMes,
    UtilPratSem,
    LimNutri,
    LimPePra,
    LimPeSer,
    RestProd,
};
inline constexpr int kCategoryCount = 11;

using CategoryMask = unsigned;
inline constexpr CategoryMask bit(Category c) {
    return 1u << static_cast<unsigned>(c);
}
inline constexpr CategoryMask kAllCategories = (1u << kCategoryCount) - 1;

const char* categoryName(Category c);
std::array<Category, kCategoryCount> allCategories();

struct ServiceRole {
    std::string branch;
    std::string service;
    // Categories in which the service's contract is broken in the demo month; the others have
    // restrictions that the menus respect.
    CategoryMask infringes;
};

// The services a demo user picks from; the tests hold the generated data to these claims.
inline constexpr const char* kDemoMonth = "2026-03";
inline const ServiceRole kClearService{"0001", "003", 0};
inline const ServiceRole kFullyInfringingService{"0001", "002", kAllCategories};
inline const ServiceRole kNutrientOnlyService{"0001", "004", bit(Category::LimNutri)};
inline constexpr const char* kRescindedBranch = "0004";
inline constexpr const char* kDemoOperator = "DEMO";
inline constexpr const char* kDemoOperatorRefusedBranch = "0003";
inline constexpr const char* kConfinedOperator = "MARIA";
inline constexpr const char* kConfinedOperatorBranch = "0002";

// Every service of the demo with its infringing categories.
const std::vector<ServiceRole>& serviceRoles();
CategoryMask infringedCategories(const std::string& branch, const std::string& service);

// The summary printed by --help and kept in demo/README.md.
std::string demoSummary();

} // namespace demo
