#include "server/store/Database.h"

#include "server/store/DatabaseLocation.h"
#include "server/store/PostgresDatabase.h"
#include "server/store/SqliteDatabase.h"

namespace server {

std::optional<std::string> SqlRow::optText(int column) const {
    if (isNull(column))
        return std::nullopt;
    return text(column);
}

std::optional<double> SqlRow::optReal(int column) const {
    if (isNull(column))
        return std::nullopt;
    return real(column);
}

Database::Database(const std::string& location) {
    if (isPostgresUrl(location))
        engine_ = std::make_unique<PostgresDatabase>(location);
    else
        engine_ = std::make_unique<SqliteDatabase>(location);
}

Database::~Database() = default;

void Database::query(const std::string& sql, const std::vector<SqlParam>& params,
                     const std::function<void(const SqlRow&)>& onRow) {
    engine_->query(sql, params, onRow);
}

std::int64_t Database::dataVersion() {
    return engine_->dataVersion();
}

bool Database::beginRead() {
    return engine_->beginRead();
}

void Database::endRead() noexcept {
    engine_->endRead();
}

} // namespace server
