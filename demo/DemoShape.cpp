#include "DemoShape.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace demo {

namespace {

constexpr int kMaxBranches = 9999;
constexpr std::size_t kMaxMonths = 120;

std::vector<std::string> standardMonths() {
    std::vector<std::string> months;
    for (int m = 1; m <= 12; ++m) {
        char text[8];
        std::snprintf(text, sizeof text, "2026-%02d", m);
        months.emplace_back(text);
    }
    return months;
}

// Years the demo's calendar arithmetic and the server's date checks both take without question.
bool isMonth(const std::string& text) {
    const auto digits = [&](std::size_t from, std::size_t to) {
        return std::all_of(text.begin() + static_cast<long>(from), text.begin() + static_cast<long>(to),
                           [](char c) { return c >= '0' && c <= '9'; });
    };
    if (text.size() != 7 || text[4] != '-' || !digits(0, 4) || !digits(5, 7))
        return false;
    const int year = std::stoi(text.substr(0, 4));
    const int month = std::stoi(text.substr(5, 2));
    return year >= 1900 && year <= 2999 && month >= 1 && month <= 12;
}

std::vector<ServiceRole> rolesOf(const std::vector<BranchDef>& all) {
    std::vector<ServiceRole> roles;
    for (const BranchDef& b : all)
        for (const ServiceDef& s : b.services)
            roles.push_back({b.code, s.code, infringedCategories(b.menusOf ? b.menusOf : b.code, s.code)});
    return roles;
}

std::string contractMonthOf(const std::vector<std::string>& months) {
    return std::find(months.begin(), months.end(), kDemoMonth) != months.end() ? kDemoMonth : months.front();
}

// Checked, in ascending order, each once; a bound keeps a mistyped list from asking for centuries of menus.
std::vector<std::string> normalisedMonths(std::vector<std::string> months) {
    if (months.size() > kMaxMonths)
        throw std::invalid_argument("meses demais em --months (no máximo " + std::to_string(kMaxMonths) +
                                    ")");
    for (const std::string& month : months)
        if (!isMonth(month))
            throw std::invalid_argument("mês inválido em --months: '" + month.substr(0, 16) +
                                        "' (use AAAA-MM, separados por vírgula)");
    std::sort(months.begin(), months.end());
    months.erase(std::unique(months.begin(), months.end()), months.end());
    return months;
}

} // namespace

std::vector<std::string> parseMonthList(const std::string& list) {
    std::vector<std::string> months;
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t comma = std::min(list.find(',', start), list.size());
        months.push_back(list.substr(start, comma - start));
        if (months.size() > kMaxMonths)
            break;
        start = comma + 1;
    }
    return normalisedMonths(std::move(months));
}

int checkedBranchCount(int count) {
    if (count < 1 || count > kMaxBranches)
        throw std::invalid_argument("número de filiais fora de 1 a " + std::to_string(kMaxBranches));
    return count;
}

DemoShape standardShape() {
    DemoShape shape;
    shape.branches = branches();
    shape.roles = rolesOf(shape.branches);
    shape.months = standardMonths();
    shape.contractMonth = contractMonthOf(shape.months);
    return shape;
}

DemoShape scaledShape(int branchCount, std::vector<std::string> months) {
    checkedBranchCount(branchCount);
    months = normalisedMonths(std::move(months));

    DemoShape shape;
    const auto& standard = branches();
    const BranchDef& model = standard.front();
    for (int i = 1; i <= branchCount; ++i) {
        if (static_cast<std::size_t>(i) <= standard.size()) {
            shape.branches.push_back(standard[static_cast<std::size_t>(i - 1)]);
            continue;
        }
        char code[16];
        std::snprintf(code, sizeof code, "%04d", i);
        const char* codeText = shape.texts.emplace_back(code).c_str();
        const char* nameText =
            shape.texts.emplace_back(std::string("Filial ") + code + " como " + model.code).c_str();
        shape.branches.push_back(
            {codeText, nameText, model.rescinded, model.daysOpen, model.services, model.code});
    }
    shape.roles = rolesOf(shape.branches);
    shape.months = months.empty() ? standardMonths() : std::move(months);
    shape.contractMonth = contractMonthOf(shape.months);
    return shape;
}

} // namespace demo
