#pragma once

#include "server/store/MenuData.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace server {

// The menu items one connection read last, so that the 23 calls of an analysis read the month once
// instead of 23 times. An entry is valid only while the database's data version is the one it was
// read at: any commit by another connection empties the cache, so an answer never lags the data.
class MenuCache {
public:
    using Items = std::shared_ptr<const std::vector<MenuItem>>;

    // The items of the span, from an entry that covers it; nothing when none does.
    Items find(const std::string& branch, const std::string& service, DaySpan span, bool withLines,
               std::int64_t version);
    void store(const std::string& branch, const std::string& service, DaySpan span, bool withLines,
               std::int64_t version, Items items);

private:
    struct Entry {
        std::string branch, service;
        DaySpan span;
        bool withLines = false;
        Items items;
    };
    // A month and its week span, with and without product lines, for each of the few sessions
    // that take turns at one connection.
    static constexpr std::size_t kEntries = 8;
    std::int64_t version_ = -1;
    std::deque<Entry> entries_;
};

} // namespace server
