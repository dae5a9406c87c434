#include "server/store/MenuRepository.h"

#include "server/store/DatabaseError.h"

#include <algorithm>
#include <atomic>
#include <map>
#include <tuple>
#include <utility>

namespace server {
namespace {

Day dayColumn(const SqlRow& row, int column) {
    const std::string text = row.text(column);
    const auto day = parseIsoDate(text);
    if (!day)
        throw DatabaseError("data inválida no banco de dados: '" + text + "'");
    return *day;
}

const char* flag(bool yes) {
    return yes ? "S" : "N";
}

std::atomic<std::uint64_t> itemReads{0};

} // namespace

std::vector<Service> MenuRepository::services(const std::string& branch) {
    std::vector<Service> result;
    db_.query("SELECT CDSERVFILI, NMSERVICO, CDFILIAL FROM SERVFILI WHERE CDFILIAL = ?", {branch},
              [&](const SqlRow& row) {
                  result.push_back({row.text(0), row.text(1), row.text(2)});
              });
    std::sort(result.begin(), result.end(),
              [](const Service& a, const Service& b) { return a.code < b.code; });
    return result;
}

MenuCache::Items MenuRepository::items(const std::string& branch, const std::string& service, DaySpan span,
                                       bool withLines) {
    if (!cache_)
        return std::make_shared<const std::vector<MenuItem>>(readItems(branch, service, span, withLines));
    const std::int64_t version = db_.dataVersion();
    if (auto cached = cache_->find(branch, service, span, withLines, version))
        return cached;
    auto items = std::make_shared<const std::vector<MenuItem>>(readItems(branch, service, span, withLines));
    cache_->store(branch, service, span, withLines, version, items);
    return items;
}

std::uint64_t MenuRepository::menuReads() {
    return itemReads.load();
}

std::vector<MenuItem> MenuRepository::readItems(const std::string& branch, const std::string& service,
                                                DaySpan span, bool withLines) {
    ++itemReads;
    std::vector<MenuItem> result;
    const std::vector<SqlParam> params{branch, service, isoDate(span.first), isoDate(span.last)};
    db_.query("SELECT c.DTCARDAPIO, c.NRSEQPRATCAR, c.NRORDPRATCAR, c.CDPRATO, p.NMPRATO, p.CDGRUPO, "
              "t.NMTIPOPRAT, c.IDOPCCNFMES "
              "FROM CARDAPIO c "
              "LEFT JOIN PRATO p ON p.CDPRATO = c.CDPRATO "
              "LEFT JOIN TIPOPRAT t ON t.CDTIPOPRAT = c.CDTIPOPRAT "
              "WHERE c.CDFILIAL = ? AND c.CDSERVFILI = ? AND c.DTCARDAPIO BETWEEN ? AND ?",
              params, [&](const SqlRow& row) {
                  MenuItem item;
                  item.day = dayColumn(row, 0);
                  item.sequence = row.integer(1);
                  item.order = row.integer(2);
                  item.dish = row.text(3);
                  item.dishName = row.optText(4);
                  item.dishGroup = row.optText(5);
                  item.typeName = row.optText(6);
                  item.option = row.text(7) == "S";
                  result.push_back(std::move(item));
              });
    std::sort(result.begin(), result.end(), [](const MenuItem& a, const MenuItem& b) {
        return std::tie(a.day, a.order, a.sequence) < std::tie(b.day, b.order, b.sequence);
    });
    if (!withLines)
        return result;

    std::map<std::pair<Day, std::int64_t>, MenuItem*> byKey;
    for (auto& item : result)
        byKey[{item.day, item.sequence}] = &item;
    db_.query("SELECT l.DTCARDAPIO, l.NRSEQPRATCAR, l.CDPRODUTO, l.QTPRODUTO, r.NMPRODUTO, r.SGUNIDADE, "
              "r.CDARVPROD, r.CDGRUPO "
              "FROM PRODCARD l "
              "LEFT JOIN PRODUTO r ON r.CDPRODUTO = l.CDPRODUTO "
              "WHERE l.CDFILIAL = ? AND l.CDSERVFILI = ? AND l.DTCARDAPIO BETWEEN ? AND ?",
              params, [&](const SqlRow& row) {
                  // A line without its menu item belongs to no dish served; it is left out.
                  const auto owner = byKey.find({dayColumn(row, 0), row.integer(1)});
                  if (owner == byKey.end())
                      return;
                  owner->second->lines.push_back({row.text(2), row.real(3), row.optText(4), row.optText(5),
                                                  row.optText(6), row.optText(7)});
              });
    for (auto& item : result)
        std::sort(item.lines.begin(), item.lines.end(),
                  [](const ProductLine& a, const ProductLine& b) { return a.product < b.product; });
    return result;
}

std::vector<NutrientDay> MenuRepository::nutrientDays(const std::string& branch, const std::string& service,
                                                      DaySpan span) {
    std::vector<NutrientDay> result;
    db_.query("SELECT CDNUTRIENTE, DTCARDAPIO, QTNUTRIENTE FROM NUTRCARD "
              "WHERE CDFILIAL = ? AND CDSERVFILI = ? AND DTCARDAPIO BETWEEN ? AND ?",
              {branch, service, isoDate(span.first), isoDate(span.last)}, [&](const SqlRow& row) {
                  result.push_back({row.text(0), dayColumn(row, 1), row.real(2)});
              });
    std::sort(result.begin(), result.end(), [](const NutrientDay& a, const NutrientDay& b) {
        return std::tie(a.day, a.nutrient) < std::tie(b.day, b.nutrient);
    });
    return result;
}

std::vector<FrequencyLimit> MenuRepository::frequencyLimits(const std::string& branch,
                                                            const std::string& service, bool option) {
    std::vector<FrequencyLimit> result;
    db_.query(
        "SELECT r.CDPRATO, p.NMPRATO, r.NRMAXSEM, r.NRMINMES, r.NRMAXMES FROM CTRFREQPRAT r "
        "LEFT JOIN PRATO p ON p.CDPRATO = r.CDPRATO "
        "WHERE r.CDFILIAL = ? AND r.CDSERVFILI = ? AND r.IDOPCAO = ?",
        {branch, service, std::string(flag(option))}, [&](const SqlRow& row) {
            result.push_back({{row.text(0), row.optText(1)}, row.optReal(2), row.optReal(3), row.optReal(4)});
        });
    return result;
}

std::vector<Named> MenuRepository::restrictedDishes(const std::string& branch, const std::string& service,
                                                    bool option) {
    std::vector<Named> result;
    db_.query("SELECT r.CDPRATO, p.NMPRATO FROM CTRRESTPRAT r "
              "LEFT JOIN PRATO p ON p.CDPRATO = r.CDPRATO "
              "WHERE r.CDFILIAL = ? AND r.CDSERVFILI = ? AND r.IDOPCAO = ?",
              {branch, service, std::string(flag(option))}, [&](const SqlRow& row) {
                  result.push_back({row.text(0), row.optText(1)});
              });
    return result;
}

std::vector<UsageRule> MenuRepository::usageRules(const std::string& branch, const std::string& service) {
    std::vector<UsageRule> result;
    db_.query("SELECT r.CDPRATO, p.NMPRATO, r.IDUTPRATSEG, r.IDUTPRATTER, r.IDUTPRATQUA, r.IDUTPRATQUI, "
              "r.IDUTPRATSEX, r.IDUTPRATSAB, r.IDUTPRATDOM FROM CTRUTILPRAT r "
              "LEFT JOIN PRATO p ON p.CDPRATO = r.CDPRATO "
              "WHERE r.CDFILIAL = ? AND r.CDSERVFILI = ?",
              {branch, service}, [&](const SqlRow& row) {
                  UsageRule rule{{row.text(0), row.optText(1)}, {}};
                  for (int weekday = 0; weekday < 7; ++weekday)
                      rule.allowed[static_cast<std::size_t>(weekday)] = row.text(2 + weekday) == "S";
                  result.push_back(std::move(rule));
              });
    return result;
}

std::vector<RestrictedProduct> MenuRepository::restrictedProducts(const std::string& branch,
                                                                  const std::string& service) {
    std::vector<RestrictedProduct> result;
    db_.query("SELECT r.CDPRODUTO, p.NMPRODUTO, p.CDARVPROD FROM CTRRESTPROD r "
              "LEFT JOIN PRODUTO p ON p.CDPRODUTO = r.CDPRODUTO "
              "WHERE r.CDFILIAL = ? AND r.CDSERVFILI = ?",
              {branch, service}, [&](const SqlRow& row) {
                  result.push_back({{row.text(0), row.optText(1)}, row.optText(2)});
              });
    return result;
}

std::vector<ProductLimit> MenuRepository::serviceLimits(const std::string& branch,
                                                        const std::string& service) {
    std::vector<ProductLimit> result;
    db_.query("SELECT r.CDPRODUTO, p.NMPRODUTO, r.QTMINLIMSERV, r.QTMAXLIMSERV FROM CTRLIMSERV r "
              "LEFT JOIN PRODUTO p ON p.CDPRODUTO = r.CDPRODUTO "
              "WHERE r.CDFILIAL = ? AND r.CDSERVFILI = ?",
              {branch, service}, [&](const SqlRow& row) {
                  result.push_back({{row.text(0), row.optText(1)}, {row.optReal(2), row.optReal(3)}});
              });
    return result;
}

std::vector<DishProductLimit> MenuRepository::dishLimits(const std::string& branch,
                                                         const std::string& service) {
    std::vector<DishProductLimit> result;
    db_.query("SELECT r.CDPRATO, d.NMPRATO, r.CDPRODUTO, p.NMPRODUTO, r.QTMINLIMPRAT, r.QTMAXLIMPRAT "
              "FROM CTRLIMPRAT r "
              "LEFT JOIN PRATO d ON d.CDPRATO = r.CDPRATO "
              "LEFT JOIN PRODUTO p ON p.CDPRODUTO = r.CDPRODUTO "
              "WHERE r.CDFILIAL = ? AND r.CDSERVFILI = ?",
              {branch, service}, [&](const SqlRow& row) {
                  result.push_back({{row.text(0), row.optText(1)},
                                    {row.text(2), row.optText(3)},
                                    {row.optReal(4), row.optReal(5)}});
              });
    return result;
}

std::vector<NutrientLimit> MenuRepository::nutrientLimits(const std::string& branch,
                                                          const std::string& service) {
    std::vector<NutrientLimit> result;
    db_.query("SELECT r.CDNUTRIENTE, n.NMNUTRIENTE, n.SGUNIDADE, r.QTMINLIMNUTR, r.QTMAXLIMNUTR "
              "FROM CTRLIMNUTR r "
              "LEFT JOIN NUTRIENTE n ON n.CDNUTRIENTE = r.CDNUTRIENTE "
              "WHERE r.CDFILIAL = ? AND r.CDSERVFILI = ?",
              {branch, service}, [&](const SqlRow& row) {
                  result.push_back(
                      {{row.text(0), row.optText(1)}, row.optText(2), {row.optReal(3), row.optReal(4)}});
              });
    return result;
}

} // namespace server
