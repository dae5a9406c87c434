#include "MenuWriter.h"

#include "DemoCatalog.h"
#include "DemoDate.h"
#include "Prng.h"
#include "SqlDatabase.h"
#include "SqlStatement.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace demo {

namespace {

// One place on the day's menu: its dish type, the dishes it rotates through and how often it is
// offered at all. Option places carry 'S' in IDOPCCNFMES.
struct Slot {
    const char* type;
    std::vector<const char*> pool;
    int percent;
    bool option;
};

constexpr const char* kFeijoada = "0001004006";
constexpr int kWednesday = 2;

const std::vector<Slot>& slotsOf(Meal meal) {
    static const std::vector<Slot> almoco = {
        {"003", {"0004001000", "0004002000", "0004003000", "0004004000"}, 100, false},
        {"001",
         {"0001001001", "0001002001", "0001003001", "0001005002", "0001006002", "0001007002", "0001008002",
          "0001009003", "0001010003", "0001011006", "0001013001"},
         100,
         false},
        {"001", {"0001012000", "0001005002", "0001009003", "0001001001", "0001011006"}, 70, true},
        {"002",
         {"0002001000", "0002002000", "0002003000", "0002004004", "0002005004", "0002006000", "0002007000",
          "0002008000"},
         100,
         false},
        {"007", {"0003001000"}, 100, false},
        {"007", {"0003002000", "0003003000"}, 100, false},
        {"004",
         {"0005001005", "0005002005", "0005003000", "0005004000", "0005005000", "0005006005", "0005007000"},
         100,
         false},
        {"006", {"0006001000", "0006002000"}, 40, false},
    };
    static const std::vector<Slot> jantar = {
        {"005", {"0001016000", "0001017000", "0001018000"}, 100, false},
        {"001",
         {"0001001001", "0001002001", "0001003001", "0001005002", "0001006002", "0001009003", "0001011006",
          "0001013001"},
         100,
         false},
        {"001", {"0001012000", "0001007002", "0001010003", "0001008002"}, 50, true},
        {"002", {"0002001000", "0002003000", "0002006000", "0002007000", "0002008000"}, 100, false},
        {"007", {"0003001000"}, 100, false},
        {"009", {"0005003000", "0005004000", "0005005000"}, 100, false},
    };
    static const std::vector<Slot> desjejum = {
        {"006", {"0006003000", "0006004000"}, 100, false},
        {"008", {"0007001000", "0007002000", "0007003005"}, 100, false},
        {"009", {"0005003000", "0005004000", "0005005000", "0005007000"}, 100, false},
        {"008", {"0001014000", "0001015000", "0007004000", "0007005000"}, 50, true},
    };
    static const std::vector<Slot> ceia = {
        {"006", {"0006003000", "0006004000", "0006001000"}, 100, false},
        {"008", {"0007001000", "0007002000", "0007003005"}, 100, false},
        {"008", {"0001015000", "0007003005", "0007005000", "0001014000"}, 40, true},
    };
    switch (meal) {
    case Meal::Almoco:
        return almoco;
    case Meal::Jantar:
        return jantar;
    case Meal::Desjejum:
        return desjejum;
    case Meal::Ceia:
        break;
    }
    return ceia;
}

std::uint64_t seedOf(const std::string& branch, const std::string& service) {
    // FNV-1a: a fixed, library-independent hash of the service key.
    std::uint64_t hash = 0xCBF29CE484222325ULL;
    for (char c : branch + "/" + service) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001B3ULL;
    }
    return hash;
}

// Per-capita quantities vary by up to 10% around the recipe and are whole units, so that sums of
// them are exact and a limit equal to a sum is met exactly.
int portion(Prng& prng, int base) {
    if (base < 20)
        return base;
    const int scaled = base * (90 + prng.below(21)) / 100;
    return (scaled + 2) / 5 * 5;
}

struct Item {
    const char* dish;
    const char* type;
    bool option;
    int order;
};

} // namespace

MenuWriter::MenuWriter(SqlDatabase& db, std::string firstDay, int dayCount)
    : db_(db), firstDay_(std::move(firstDay)), dayCount_(dayCount) {}

void MenuWriter::writeAll(const std::vector<BranchDef>& branchList) {
    for (const auto& branch : branchList)
        for (const auto& service : branch.services)
            writeService(branch, service);
}

void MenuWriter::writeService(const BranchDef& branch, const ServiceDef& service) {
    SqlStatement item(db_, "INSERT INTO CARDAPIO VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)");
    SqlStatement line(db_, "INSERT INTO PRODCARD VALUES (?1, ?2, ?3, ?4, ?5, ?6)");
    SqlStatement nutrient(db_, "INSERT INTO NUTRCARD VALUES (?1, ?2, ?3, ?4, ?5)");
    Prng prng(seedOf(branch.menusOf ? branch.menusOf : branch.code, service.code));
    const auto& slots = slotsOf(service.meal);
    std::vector<const char*> yesterday(slots.size(), nullptr);
    const int first = daysFromIso(firstDay_);

    for (int day = first; day < first + dayCount_; ++day) {
        const int weekday = weekdayOf(day);
        if (weekday >= branch.daysOpen)
            continue;
        const std::string date = isoFromDays(day);

        std::vector<Item> items;
        for (std::size_t s = 0; s < slots.size(); ++s) {
            const Slot& slot = slots[s];
            if (!prng.chance(slot.percent))
                continue;
            const char* chosen = nullptr;
            if (service.meal == Meal::Almoco && !slot.option && slot.type == std::string("001") &&
                weekday == kWednesday)
                chosen = kFeijoada; // the traditional Wednesday lunch
            for (int attempt = 0; !chosen && attempt < 8; ++attempt) {
                const char* candidate =
                    slot.pool[static_cast<std::size_t>(prng.below(static_cast<int>(slot.pool.size())))];
                bool repeated = slot.pool.size() > 1 && candidate == yesterday[s];
                for (const auto& taken : items)
                    repeated = repeated || std::string(taken.dish) == candidate;
                if (!repeated)
                    chosen = candidate;
            }
            if (!chosen)
                continue;
            yesterday[s] = chosen;
            items.push_back({chosen, slot.type, slot.option, static_cast<int>(s) + 1});
        }

        // Options are registered after the fixed menu, so their sequence comes last while their
        // display order stays next to the main dish.
        std::vector<const Item*> bySequence;
        for (const auto& it : items)
            if (!it.option)
                bySequence.push_back(&it);
        for (const auto& it : items)
            if (it.option)
                bySequence.push_back(&it);

        NutrientProfile dayTotal{};
        int sequence = 0;
        for (const Item* it : bySequence) {
            ++sequence;
            item.bind(1, branch.code)
                .bind(2, service.code)
                .bind(3, date)
                .bind(4, sequence)
                .bind(5, it->dish)
                .bind(6, it->type)
                .bind(7, it->option ? "S" : "N")
                .bind(8, it->order)
                .run();
            // Lines in key order fill the key's index pages densely, keeping the file small.
            auto recipe = dish(it->dish).recipe;
            std::sort(recipe.begin(), recipe.end(), [](const RecipeLine& a, const RecipeLine& b) {
                return std::string(a.product) < b.product;
            });
            for (const auto& r : recipe) {
                const int quantity = portion(prng, r.quantity);
                line.bind(1, branch.code)
                    .bind(2, service.code)
                    .bind(3, date)
                    .bind(4, sequence)
                    .bind(5, r.product)
                    .bind(6, static_cast<double>(quantity))
                    .run();
                const auto& per100 = product(r.product).per100;
                for (std::size_t n = 0; n < dayTotal.size(); ++n)
                    dayTotal[n] += per100[n] * quantity / 100.0;
            }
        }

        // Some days were never measured by the nutritionist: no row at all, or no fibre row.
        if (items.empty() || prng.chance(4))
            continue;
        const bool withoutFibre = prng.chance(6);
        const auto& all = nutrients();
        for (std::size_t n = 0; n < all.size(); ++n) {
            if (withoutFibre && std::string(all[n].code) == "006")
                continue;
            nutrient.bind(1, branch.code)
                .bind(2, service.code)
                .bind(3, date)
                .bind(4, all[n].code)
                .bind(5, std::round(dayTotal[n] * 10.0) / 10.0)
                .run();
        }
    }
}

} // namespace demo
