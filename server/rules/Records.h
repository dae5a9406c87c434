#pragma once

#include "protocol/Packet.h"
#include "server/rules/Columns.h"
#include "server/store/MenuData.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace server {

// A summary row: one infringement, for one week (week > 0) or for the month. It names the
// restriction's dish, product or nutrient; the record set's layout picks the fields it shows.
struct Finding {
    std::string branch, service;
    int week = 0;
    Day month = 0; // DTMESCARD
    std::optional<Named> dish, product, nutrient;
    std::optional<std::string> unit, treeCode;
    double count = 0;
    std::optional<double> lower, upper; // the restriction's bounds, null when unset
    std::array<bool, 7> days{};         // weekdays with a matching item, Monday first
};

// A detail row: an item, one of its product lines, or a nutrient day. It names the actual dish and
// product.
struct DetailRow {
    const MenuItem* item = nullptr;
    const ProductLine* line = nullptr;
    Day day = 0;
    std::optional<double> nutrientQuantity;
};

proto::Value summaryValue(const Finding& finding, Col column);
proto::Value detailValue(const DetailRow& row, Col column);

// Weekly summaries by week, then name, then code; monthly by name, then code; dish-and-product rows
// by dish name, product name, dish code, product code. Names compare as UTF-8 bytes, which is code
// point order.
void sortFindings(std::vector<Finding>& findings);

proto::Packet summaryPacket(const Layout& layout, std::vector<Finding> findings);
proto::Packet detailPacket(const Layout& layout, const std::vector<DetailRow>& rows);

} // namespace server
