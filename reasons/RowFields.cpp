#include "reasons/RowFields.h"

#include <stdexcept>

namespace reasons {

PacketRow::PacketRow(const proto::Packet& packet, std::size_t row) : packet_(packet), row_(row) {
    if (row >= packet.rows.size())
        throw std::out_of_range("packet row " + std::to_string(row) + " of " +
                                std::to_string(packet.rows.size()));
}

const proto::Value* PacketRow::cell(std::string_view field) const {
    const int index = packet_.fieldIndex(field);
    const auto& cells = packet_.rows[row_];
    // A row narrower than its fields comes only from a packet built by hand; read it as missing.
    if (index < 0 || static_cast<std::size_t>(index) >= cells.size())
        return nullptr;
    return &cells[static_cast<std::size_t>(index)];
}

std::optional<QString> PacketRow::text(std::string_view field) const {
    const proto::Value* value = cell(field);
    if (!value)
        return std::nullopt;
    if (const auto* s = std::get_if<std::string>(value))
        return QString::fromStdString(*s);
    return std::nullopt;
}

std::optional<double> PacketRow::number(std::string_view field) const {
    const proto::Value* value = cell(field);
    if (!value)
        return std::nullopt;
    if (const auto* d = std::get_if<double>(value))
        return *d;
    if (const auto* i = std::get_if<std::int64_t>(value))
        return static_cast<double>(*i);
    if (const auto* t = std::get_if<proto::DateTime>(value))
        return t->days;
    return std::nullopt;
}

std::vector<PacketRow> packetRows(const proto::Packet& packet) {
    std::vector<PacketRow> rows;
    rows.reserve(packet.rows.size());
    for (std::size_t i = 0; i < packet.rows.size(); ++i)
        rows.emplace_back(packet, i);
    return rows;
}

} // namespace reasons
