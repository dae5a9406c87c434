#pragma once

#include "check/Model.h"
#include "server/store/Database.h"
#include "server/store/MenuCache.h"

#include <QLocale>

#include <vector>

namespace check {

// Data warnings of a service-month, apart from the breaches: menu days without a row for a nutrient
// the contract limits (the rules do not judge them), days without a menu, per-capita minimums no day
// reaches because the product is absent (not judged either), and dishes or products that name a
// group that does not exist.
// `cache`, when given, is the connection's menu cache, so that a menu read already is not read again.
std::vector<Finding> dataWarnings(server::Database& db, const Target& target, const Month& month,
                                  const QLocale& locale, server::MenuCache* cache = nullptr);

// Contract rules of a service that cannot all hold in the month: a minimum above its maximum, a
// monthly minimum above the weekly maximum times the weeks of the month's week span, a dish or group
// with a monthly minimum that is forbidden or allowed on no weekday, a product or group with a
// per-capita minimum that is forbidden.
std::vector<Finding> contradictions(server::Database& db, const Target& target, const Month& month,
                                    const QLocale& locale);

} // namespace check
