#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace demo {

class SqlDatabase;
struct BranchDef;
struct ServiceDef;

// A year of menus for every service: items, their products with per-capita quantities and the
// day's nutrients, from a seed of the service's own so that services do not depend on each other.
class MenuWriter {
public:
    MenuWriter(SqlDatabase& db, std::string firstDay, int dayCount);
    void writeAll(const std::vector<BranchDef>& branchList);

private:
    void writeService(const BranchDef& branch, const ServiceDef& service);

    SqlDatabase& db_;
    std::string firstDay_;
    int dayCount_;
};

} // namespace demo
