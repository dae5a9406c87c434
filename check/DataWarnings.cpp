#include "check/Findings.h"
#include "check/Texts.h"

#include "server/rules/Matching.h"
#include "server/store/MenuRepository.h"

#include <algorithm>
#include <set>
#include <tuple>

namespace check {

namespace {

using server::Day;

std::set<std::string> groupCodes(server::Database& db, const char* table, const char* code) {
    std::set<std::string> codes;
    db.query(std::string("SELECT ") + code + " FROM " + table + " WHERE IDGRUPO = 'S'", {},
             [&](const server::SqlRow& row) { codes.insert(row.text(0)); });
    return codes;
}

std::set<Day> menuDays(const std::vector<server::MenuItem>& items) {
    std::set<Day> days;
    for (const server::MenuItem& item : items)
        days.insert(item.day);
    return days;
}

void missingNutrients(server::MenuRepository& repo, const Target& target, const Month& month,
                      const std::set<Day>& served, const QLocale& locale, std::vector<Finding>& out) {
    // In day, then nutrient order.
    const std::vector<server::NutrientDay> valued =
        repo.nutrientDays(target.branch, target.service, month.span);
    const auto byDayAndNutrient = [](const server::NutrientDay& a, const server::NutrientDay& b) {
        return std::tie(a.day, a.nutrient) < std::tie(b.day, b.nutrient);
    };
    for (const server::NutrientLimit& limit : repo.nutrientLimits(target.branch, target.service)) {
        if (!limit.range.min && !limit.range.max)
            continue;
        std::vector<Day> missing;
        for (const Day day : served)
            if (!std::binary_search(valued.begin(), valued.end(),
                                    server::NutrientDay{limit.nutrient.code, day, 0}, byDayAndNutrient))
                missing.push_back(day);
        if (!missing.empty())
            out.push_back({"nutriente_sem_valor",
                           text::named(limit.nutrient.name, limit.nutrient.code) + " sem valor em " +
                               std::to_string(missing.size()) + (missing.size() == 1 ? " dia" : " dias") +
                               " de cardápio, que não foram julgados: " + text::dayList(missing, locale) +
                               "."});
    }
}

void daysWithoutMenu(const Month& month, const std::set<Day>& served, const QLocale& locale,
                     std::vector<Finding>& out) {
    std::vector<Day> empty;
    for (Day day = month.span.first; day <= month.span.last; ++day)
        if (!served.count(day))
            empty.push_back(day);
    if (!empty.empty())
        out.push_back({"dia_sem_cardapio", std::to_string(empty.size()) +
                                               (empty.size() == 1 ? " dia do mês sem cardápio: "
                                                                  : " dias do mês sem cardápio: ") +
                                               text::dayList(empty, locale) + "."});
}

bool anyLine(const std::vector<server::MenuItem>& items, const std::string& product,
             const std::string* dish) {
    return std::any_of(items.begin(), items.end(), [&](const server::MenuItem& item) {
        return (!dish || server::dishMatches(item, *dish)) &&
               std::any_of(item.lines.begin(), item.lines.end(), [&](const server::ProductLine& line) {
                   return server::productMatches(line, product);
               });
    });
}

void absentMinimums(server::MenuRepository& repo, const Target& target,
                    const std::vector<server::MenuItem>& items, const QLocale& locale,
                    std::vector<Finding>& out) {
    for (const server::ProductLimit& limit : repo.serviceLimits(target.branch, target.service))
        if (limit.range.min && *limit.range.min > 0 && !anyLine(items, limit.product.code, nullptr))
            out.push_back({"minimo_sem_produto",
                           "O mínimo per capita de " + text::named(limit.product.name, limit.product.code) +
                               " no serviço, " + text::number(*limit.range.min, locale) +
                               ", não é alcançado em dia nenhum: o produto não aparece no cardápio do mês."});
    for (const server::DishProductLimit& limit : repo.dishLimits(target.branch, target.service)) {
        const bool served = std::any_of(items.begin(), items.end(), [&](const server::MenuItem& item) {
            return server::dishMatches(item, limit.dish.code);
        });
        if (limit.range.min && *limit.range.min > 0 && served &&
            !anyLine(items, limit.product.code, &limit.dish.code))
            out.push_back({"minimo_sem_produto",
                           "O mínimo per capita de " + text::named(limit.product.name, limit.product.code) +
                               " em " + text::named(limit.dish.name, limit.dish.code) + ", " +
                               text::number(*limit.range.min, locale) +
                               ", não é alcançado: o produto não aparece no prato em dia nenhum do mês."});
    }
}

void unknownGroups(server::Database& db, const std::vector<server::MenuItem>& items,
                   std::vector<Finding>& out) {
    const std::set<std::string> dishGroups = groupCodes(db, "PRATO", "CDPRATO");
    const std::set<std::string> productGroups = groupCodes(db, "PRODUTO", "CDPRODUTO");
    std::set<std::string> told;
    const auto tell = [&](const std::string& what, const std::optional<std::string>& name,
                          const std::string& code, const std::string& group) {
        if (told.insert(what + code).second)
            out.push_back({"grupo_inexistente", what + " " + text::named(name, code) + " pertence ao grupo " +
                                                    group + ", que não existe."});
    };
    for (const server::MenuItem& item : items) {
        if (item.dishGroup && !dishGroups.count(*item.dishGroup))
            tell("O prato", item.dishName, item.dish, *item.dishGroup);
        for (const server::ProductLine& line : item.lines)
            if (line.group && !productGroups.count(*line.group))
                tell("O produto", line.name, line.product, *line.group);
    }
}

} // namespace

std::vector<Finding> dataWarnings(server::Database& db, const Target& target, const Month& month,
                                  const QLocale& locale, server::MenuCache* cache) {
    server::MenuRepository repo(db, cache);
    const server::MenuCache::Items items = repo.items(target.branch, target.service, month.span, true);
    const std::set<Day> served = menuDays(*items);
    std::vector<Finding> out;
    missingNutrients(repo, target, month, served, locale, out);
    daysWithoutMenu(month, served, locale, out);
    absentMinimums(repo, target, *items, locale, out);
    unknownGroups(db, *items, out);
    return out;
}

} // namespace check
