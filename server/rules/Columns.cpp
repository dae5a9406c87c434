#include "server/rules/Columns.h"

#include <array>

namespace server {
namespace {

const auto kCatalog = std::to_array<proto::FieldDef>({
#define RESTCONT_COLUMN_DEF(name, type, size) {#name, proto::FieldType::type, size},
    RESTCONT_COLUMNS(RESTCONT_COLUMN_DEF)
#undef RESTCONT_COLUMN_DEF
});

} // namespace

const proto::FieldDef& fieldOf(Col column) {
    return kCatalog[static_cast<std::size_t>(column)];
}

std::vector<proto::FieldDef> fieldsOf(const Layout& layout) {
    std::vector<proto::FieldDef> fields;
    fields.reserve(layout.size());
    for (const Col column : layout)
        fields.push_back(fieldOf(column));
    return fields;
}

} // namespace server
