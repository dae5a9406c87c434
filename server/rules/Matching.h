#pragma once

#include "server/store/MenuData.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace server {

// Which items a rule looks at.
enum class ItemKind { NonOption, Option, Any };

inline bool accepts(ItemKind kind, const MenuItem& item) {
    return kind == ItemKind::Any || item.option == (kind == ItemKind::Option);
}

// An item matches dish code X when its dish is X or its dish's group is X; a product line matches
// product code Y alike. The visitors see each code once, also when a dish names itself as group.
template <typename Visit> void forEachDishCode(const MenuItem& item, Visit visit) {
    visit(item.dish);
    if (item.dishGroup && *item.dishGroup != item.dish)
        visit(*item.dishGroup);
}

template <typename Visit> void forEachProductCode(const ProductLine& line, Visit visit) {
    visit(line.product);
    if (line.group && *line.group != line.product)
        visit(*line.group);
}

inline bool dishMatches(const MenuItem& item, std::string_view code) {
    return item.dish == code || (item.dishGroup && *item.dishGroup == code);
}

inline bool productMatches(const ProductLine& line, std::string_view code) {
    return line.product == code || (line.group && *line.group == code);
}

// Restrictions by code, so that each item or line finds its restrictions in one look-up instead of
// being compared with every restriction.
class CodeIndex {
public:
    void add(const std::string& code, std::size_t restriction) { index_[code].push_back(restriction); }

    template <typename Visit> void visit(const std::string& code, Visit visitRestriction) const {
        if (const auto found = index_.find(code); found != index_.end())
            for (const std::size_t restriction : found->second)
                visitRestriction(restriction);
    }

private:
    std::unordered_map<std::string, std::vector<std::size_t>> index_;
};

} // namespace server
