#pragma once

#include "server/store/Database.h"
#include "server/store/MenuCache.h"
#include "server/store/MenuData.h"

#include <cstdint>
#include <string>
#include <vector>

namespace server {

// What the methods read from the database, one query each, all parameterised and portable. Codes
// and names are matched and sorted by the engine, in byte order, not by the database's collation.
class MenuRepository {
public:
    // The cache may be null (no caching).
    MenuRepository(Database& db, MenuCache* cache) : db_(db), cache_(cache) {}

    std::vector<Service> services(const std::string& branch);
    // Items of the span, ordered by day, NRORDPRATCAR, NRSEQPRATCAR; with product lines when asked.
    MenuCache::Items items(const std::string& branch, const std::string& service, DaySpan span,
                           bool withLines);
    std::vector<NutrientDay> nutrientDays(const std::string& branch, const std::string& service,
                                          DaySpan span);

    std::vector<FrequencyLimit> frequencyLimits(const std::string& branch, const std::string& service,
                                                bool option);
    std::vector<Named> restrictedDishes(const std::string& branch, const std::string& service, bool option);
    std::vector<UsageRule> usageRules(const std::string& branch, const std::string& service);
    std::vector<RestrictedProduct> restrictedProducts(const std::string& branch, const std::string& service);
    std::vector<ProductLimit> serviceLimits(const std::string& branch, const std::string& service);
    std::vector<DishProductLimit> dishLimits(const std::string& branch, const std::string& service);
    std::vector<NutrientLimit> nutrientLimits(const std::string& branch, const std::string& service);

    // How many times this process has read menu items from a database rather than a cache.
    static std::uint64_t menuReads();

private:
    std::vector<MenuItem> readItems(const std::string& branch, const std::string& service, DaySpan span,
                                    bool withLines);

    Database& db_;
    MenuCache* cache_;
};

} // namespace server
