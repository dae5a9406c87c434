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
    // A version read before the read's first row labels rows read after it: when the data changed
    // in between, the next look outside the read sees it and the rows are read again.
    if (!reading_)
        return engine_->dataVersion();
    if (!readVersion_)
        readVersion_ = engine_->dataVersion();
    return *readVersion_;
}

bool Database::beginRead(ReadScope scope) {
    if (reading_ || !engine_->beginRead(scope))
        return false;
    reading_ = true;
    readVersion_.reset();
    return true;
}

void Database::endRead() noexcept {
    if (!reading_)
        return;
    reading_ = false;
    readVersion_.reset();
    engine_->endRead();
}

} // namespace server
