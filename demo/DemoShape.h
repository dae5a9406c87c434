#pragma once

#include "DemoCatalog.h"
#include "DemoRoles.h"

#include <deque>
#include <string>
#include <vector>

namespace demo {

// What a demo database holds: its branches with their services, the contract role of each service
// (in branch, then service order), the months that get menus and the month the contracts are
// measured against. Not copyable: the generated branches' codes and names live in it.
struct DemoShape {
    std::vector<BranchDef> branches;
    std::vector<ServiceRole> roles;
    std::vector<std::string> months; // "YYYY-MM", ascending, no repeats
    std::string contractMonth;

    DemoShape() = default;
    DemoShape(DemoShape&&) = default;
    DemoShape& operator=(DemoShape&&) = default;
    DemoShape(const DemoShape&) = delete;
    DemoShape& operator=(const DemoShape&) = delete;

    std::deque<std::string> texts;
};

// The demo as it has always been: four branches and the twelve months of 2026.
DemoShape standardShape();

// N branches: the first (up to four) are the standard ones; each further branch repeats the menus
// and contracts of branch 0001 under its own code, so that every contract role holds by construction
// as it does for 0001 (menus drawn afresh might leave a role without a dish to infringe it with).
// Menus only for the months given (the standard year when none); the contracts are
// measured against the demo month when it is among them, else the first. Throws
// std::invalid_argument for a count outside 1..9999 or a month that is not YYYY-MM.
DemoShape scaledShape(int branchCount, std::vector<std::string> months);

// The count itself when the demo can have that many branches. Throws std::invalid_argument.
int checkedBranchCount(int count);

// "2026-03,2026-04" as months in ascending order without repeats. Throws std::invalid_argument.
std::vector<std::string> parseMonthList(const std::string& list);

} // namespace demo
