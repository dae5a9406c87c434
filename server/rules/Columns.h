#pragma once

#include "protocol/Packet.h"

#include <initializer_list>
#include <vector>

namespace server {

// Every field a method answers, with its wire type and size, declared once. A record set is a list
// of these in the order the screen declares its fields.
#define RESTCONT_COLUMNS(X)                                                                                  \
    X(CDFILIAL, String, 4)                                                                                   \
    X(CDSERVFILI, String, 5)                                                                                 \
    X(NMSERVICO, String, 40)                                                                                 \
    X(IDMARCADO, String, 1)                                                                                  \
    X(DTPRIMEIRA, DateTime, 0)                                                                               \
    X(DTULTIMA, DateTime, 0)                                                                                 \
    X(DTMESCARD, DateTime, 0)                                                                                \
    X(NRSEMANA, String, 2)                                                                                   \
    X(CDPRATO, String, 10)                                                                                   \
    X(NMPRATO, String, 40)                                                                                   \
    X(NMTIPOPRAT, String, 15)                                                                                \
    X(DTCARDAPIO, DateTime, 0)                                                                               \
    X(IDOPCCNFMES, String, 1)                                                                                \
    X(IDUTPRATSEG, String, 1)                                                                                \
    X(IDUTPRATTER, String, 1)                                                                                \
    X(IDUTPRATQUA, String, 1)                                                                                \
    X(IDUTPRATQUI, String, 1)                                                                                \
    X(IDUTPRATSEX, String, 1)                                                                                \
    X(IDUTPRATSAB, String, 1)                                                                                \
    X(IDUTPRATDOM, String, 1)                                                                                \
    X(CDNUTRIENTE, String, 3)                                                                                \
    X(NMNUTRIENTE, String, 20)                                                                               \
    X(QTMINLIMNUTR, Float, 0)                                                                                \
    X(QTMAXLIMNUTR, Float, 0)                                                                                \
    X(NRNUTRMES, Float, 0)                                                                                   \
    X(QTNUTRIENTE, Float, 0)                                                                                 \
    X(QTMINLIMPRAT, Float, 0)                                                                                \
    X(QTMAXLIMPRAT, Float, 0)                                                                                \
    X(QTMINLIMSERV, Float, 0)                                                                                \
    X(QTMAXLIMSERV, Float, 0)                                                                                \
    X(NRMAXIFREPRA, Float, 0)                                                                                \
    X(NRMAXIFREOPC, Float, 0)                                                                                \
    X(NRMINIFREPRA, Float, 0)                                                                                \
    X(NRMINIFREOPC, Float, 0)                                                                                \
    X(NRMAXMESFPRA, Float, 0)                                                                                \
    X(NRMAXMESFOPC, Float, 0)                                                                                \
    X(CDPRODUTO, String, 10)                                                                                 \
    X(NMPRODUTO, String, 50)                                                                                 \
    X(SGUNIDADE, String, 10)                                                                                 \
    X(QTPRODUTO, Float, 0)                                                                                   \
    X(NRPRATSEMANA, Float, 0)                                                                                \
    X(NRPRATMES, Float, 0)                                                                                   \
    X(NRPRODMES, Float, 0)                                                                                   \
    X(CDARVPROD, String, 20)                                                                                 \
    X(NRSEQPRATCAR, Float, 0)                                                                                \
    X(NRORDPRATCAR, Float, 0)

enum class Col {
#define RESTCONT_COLUMN_ENUM(name, type, size) name,
    RESTCONT_COLUMNS(RESTCONT_COLUMN_ENUM)
#undef RESTCONT_COLUMN_ENUM
};

using Layout = std::vector<Col>;

const proto::FieldDef& fieldOf(Col column);
std::vector<proto::FieldDef> fieldsOf(const Layout& layout);

// Builds a packet whose rows take each column's value from the row source.
template <typename Rows, typename ValueOf>
proto::Packet makePacket(const Layout& layout, const Rows& rows, ValueOf valueOf) {
    proto::Packet packet;
    packet.fields = fieldsOf(layout);
    packet.rows.reserve(rows.size());
    for (const auto& row : rows) {
        std::vector<proto::Value> cells;
        cells.reserve(layout.size());
        for (const Col column : layout)
            cells.push_back(valueOf(row, column));
        packet.rows.push_back(std::move(cells));
    }
    return packet;
}

} // namespace server
