#include "server/rules/Records.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <tuple>

namespace server {
namespace {

proto::Value text(const std::optional<std::string>& value) {
    if (!value)
        return std::monostate{};
    return *value;
}

proto::Value number(const std::optional<double>& value) {
    if (!value)
        return std::monostate{};
    return *value;
}

proto::Value code(const std::optional<Named>& named) {
    if (!named)
        return std::monostate{};
    return named->code;
}

proto::Value name(const std::optional<Named>& named) {
    if (!named)
        return std::monostate{};
    return text(named->name);
}

proto::Value flag(bool yes) {
    return std::string(yes ? "S" : "N");
}

std::string weekText(int week) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%02d", week);
    return buffer;
}

[[noreturn]] void notInRecord(Col column, const char* record) {
    throw std::logic_error(std::string("field ") + fieldOf(column).name + " is not part of a " + record);
}

std::string nameKey(const std::optional<Named>& named) {
    return named && named->name ? *named->name : std::string();
}

std::string codeKey(const std::optional<Named>& named) {
    return named ? named->code : std::string();
}

} // namespace

proto::Value summaryValue(const Finding& f, Col column) {
    switch (column) {
    case Col::CDFILIAL:
        return f.branch;
    case Col::CDSERVFILI:
        return f.service;
    case Col::DTMESCARD:
        return toDateTime(f.month);
    case Col::NRSEMANA:
        return weekText(f.week);
    case Col::CDPRATO:
        return code(f.dish);
    case Col::NMPRATO:
        return name(f.dish);
    case Col::CDPRODUTO:
        return code(f.product);
    case Col::NMPRODUTO:
        return name(f.product);
    case Col::CDNUTRIENTE:
        return code(f.nutrient);
    case Col::NMNUTRIENTE:
        return name(f.nutrient);
    case Col::SGUNIDADE:
        return text(f.unit);
    case Col::CDARVPROD:
        return text(f.treeCode);
    case Col::IDUTPRATSEG:
    case Col::IDUTPRATTER:
    case Col::IDUTPRATQUA:
    case Col::IDUTPRATQUI:
    case Col::IDUTPRATSEX:
    case Col::IDUTPRATSAB:
    case Col::IDUTPRATDOM:
        return flag(
            f.days[static_cast<std::size_t>(static_cast<int>(column) - static_cast<int>(Col::IDUTPRATSEG))]);
    case Col::NRMINIFREPRA:
    case Col::NRMINIFREOPC:
    case Col::QTMINLIMNUTR:
    case Col::QTMINLIMPRAT:
    case Col::QTMINLIMSERV:
        return number(f.lower);
    case Col::NRMAXIFREPRA:
    case Col::NRMAXIFREOPC:
    case Col::NRMAXMESFPRA:
    case Col::NRMAXMESFOPC:
    case Col::QTMAXLIMNUTR:
    case Col::QTMAXLIMPRAT:
    case Col::QTMAXLIMSERV:
        return number(f.upper);
    case Col::NRPRATSEMANA:
    case Col::NRPRATMES:
    case Col::NRPRODMES:
    case Col::NRNUTRMES:
        return f.count;
    default:
        notInRecord(column, "summary row");
    }
}

proto::Value detailValue(const DetailRow& row, Col column) {
    const MenuItem* item = row.item;
    const ProductLine* line = row.line;
    switch (column) {
    case Col::DTCARDAPIO:
        return toDateTime(item ? item->day : row.day);
    case Col::QTNUTRIENTE:
        return number(row.nutrientQuantity);
    default:
        break;
    }
    if (item) {
        switch (column) {
        case Col::NMTIPOPRAT:
            return text(item->typeName);
        case Col::CDPRATO:
            return item->dish;
        case Col::NMPRATO:
            return text(item->dishName);
        case Col::IDOPCCNFMES:
            return flag(item->option);
        case Col::NRSEQPRATCAR:
            return static_cast<double>(item->sequence);
        case Col::NRORDPRATCAR:
            return static_cast<double>(item->order);
        default:
            break;
        }
    }
    if (line) {
        switch (column) {
        case Col::CDPRODUTO:
            return line->product;
        case Col::NMPRODUTO:
            return text(line->name);
        case Col::SGUNIDADE:
            return text(line->unit);
        case Col::QTPRODUTO:
            return line->quantity;
        case Col::CDARVPROD:
            return text(line->treeCode);
        default:
            break;
        }
    }
    notInRecord(column, "detail row");
}

void sortFindings(std::vector<Finding>& findings) {
    const auto key = [](const Finding& f) {
        return std::make_tuple(f.week, nameKey(f.dish), nameKey(f.product), nameKey(f.nutrient),
                               codeKey(f.dish), codeKey(f.product), codeKey(f.nutrient));
    };
    std::stable_sort(findings.begin(), findings.end(),
                     [&](const Finding& a, const Finding& b) { return key(a) < key(b); });
}

proto::Packet summaryPacket(const Layout& layout, std::vector<Finding> findings) {
    sortFindings(findings);
    return makePacket(layout, findings, summaryValue);
}

proto::Packet detailPacket(const Layout& layout, const std::vector<DetailRow>& rows) {
    return makePacket(layout, rows, detailValue);
}

} // namespace server
