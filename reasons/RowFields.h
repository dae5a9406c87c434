#pragma once

#include "protocol/Packet.h"

#include <QString>

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace reasons {

// One result row as the sentences read it: a field by name, nothing when the row lacks it, holds
// null or holds a value of another kind. The screen reads its record sets through this, the
// command-line tools their packets; the sentences never learn which.
class RowFields {
public:
    virtual ~RowFields() = default;
    // A text field's value as stored (blanks kept).
    virtual std::optional<QString> text(std::string_view field) const = 0;
    // A float or integer field's value; a date-time field's days since 1899-12-30.
    virtual std::optional<double> number(std::string_view field) const = 0;
};

// One row of a packet, read in place: the packet must outlive it.
class PacketRow final : public RowFields {
public:
    // Throws std::out_of_range for a row the packet does not have.
    PacketRow(const proto::Packet& packet, std::size_t row);
    std::optional<QString> text(std::string_view field) const override;
    std::optional<double> number(std::string_view field) const override;

private:
    const proto::Value* cell(std::string_view field) const;

    const proto::Packet& packet_;
    std::size_t row_;
};

// Every row of a packet, in its order.
std::vector<PacketRow> packetRows(const proto::Packet& packet);

} // namespace reasons
