#pragma once

#include "DemoRoles.h"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace demo {

class SqlDatabase;

// Writes each service's contract after its menus exist: the generator measures the menus it wrote
// and sets every bound either just inside what they do (respected, often equal to a bound) or just
// past what they do in the demo month (infringed), so the claims of the demo roles hold by
// construction rather than by luck of the random rotation.
class ContractWriter {
public:
    struct Span {
        std::string first;
        std::string last;
        int months; // calendar months the span covers, for monthly minima
    };

    ContractWriter(SqlDatabase& db, Span year, Span month);
    // Every service of the list, in its order, with the categories its contract breaks.
    void writeAll(const std::vector<ServiceRole>& roles);

    // One measured code (dish, group, product or nutrient), or a pair of codes for per-dish limits.
    struct Measure {
        std::string code;
        std::string code2;
        double low;
        double high;
    };

private:
    struct Key {
        std::string branch;
        std::string service;
    };
    using Writer = void (ContractWriter::*)(const Key&, bool);

    void writeService(const Key& key, CategoryMask infringes);
    void freqWeek(const Key& key, bool infringe, bool option);
    void freqMonth(const Key& key, bool infringe, bool option);
    void restDish(const Key& key, bool infringe, bool option);
    void freqPratSem(const Key& key, bool infringe) { freqWeek(key, infringe, false); }
    void freqPratMes(const Key& key, bool infringe) { freqMonth(key, infringe, false); }
    void freqOpcaSem(const Key& key, bool infringe) { freqWeek(key, infringe, true); }
    void freqOpcaMes(const Key& key, bool infringe) { freqMonth(key, infringe, true); }
    void restPrat(const Key& key, bool infringe) { restDish(key, infringe, false); }
    void restOpca(const Key& key, bool infringe) { restDish(key, infringe, true); }
    void utilPrat(const Key& key, bool infringe);
    void limNutri(const Key& key, bool infringe);
    void limPePra(const Key& key, bool infringe);
    void limPeSer(const Key& key, bool infringe);
    void restProd(const Key& key, bool infringe);

    std::vector<Measure> measure(const std::string& sql, const Key& key, const Span& span,
                                 std::optional<bool> option = std::nullopt) const;
    // The first measure whose code this service's table has not used yet, groups first when asked.
    Measure pick(const std::vector<Measure>& measures, const std::string& table, const Key& key,
                 bool groupsFirst, double minimumHigh = 0);
    bool isGroup(const std::string& code) const { return groups_.count(code) != 0; }
    void insertFreq(const Key& key, const std::string& code, bool option, std::optional<double> maxWeek,
                    std::optional<double> minMonth, std::optional<double> maxMonth);

    SqlDatabase& db_;
    Span year_;
    Span month_;
    Span weeks_;
    std::set<std::string> groups_;
    std::map<std::string, std::set<std::string>> used_;
};

} // namespace demo
