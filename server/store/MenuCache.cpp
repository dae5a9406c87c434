#include "server/store/MenuCache.h"

#include <algorithm>

namespace server {

MenuCache::Items MenuCache::find(const std::string& branch, const std::string& service, DaySpan span,
                                 bool withLines, std::int64_t version) {
    if (version != version_) {
        entries_.clear();
        version_ = version;
        return nullptr;
    }
    for (const Entry& entry : entries_) {
        if (entry.branch != branch || entry.service != service || (withLines && !entry.withLines) ||
            !entry.span.contains(span.first) || !entry.span.contains(span.last))
            continue;
        if (entry.span.first == span.first && entry.span.last == span.last)
            return entry.items;
        // Items are in day order: the span is one contiguous run of them.
        const auto& all = *entry.items;
        const auto from = std::lower_bound(all.begin(), all.end(), span.first,
                                           [](const MenuItem& item, Day day) { return item.day < day; });
        const auto to = std::upper_bound(from, all.end(), span.last,
                                         [](Day day, const MenuItem& item) { return day < item.day; });
        return std::make_shared<const std::vector<MenuItem>>(from, to);
    }
    return nullptr;
}

void MenuCache::store(const std::string& branch, const std::string& service, DaySpan span, bool withLines,
                      std::int64_t version, Items items) {
    if (version != version_) {
        entries_.clear();
        version_ = version;
    }
    entries_.push_front({branch, service, span, withLines, std::move(items)});
    if (entries_.size() > kEntries)
        entries_.pop_back();
}

} // namespace server
