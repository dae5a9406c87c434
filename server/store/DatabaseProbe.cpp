#include "server/store/DatabaseProbe.h"

#include "server/store/Database.h"
#include "server/store/DatabaseError.h"
#include "server/store/DatabaseLocation.h"

namespace server {
namespace {

constexpr const char* kTablesRead[] = {
    "SERVFILI",    "TIPOPRAT",    "PRATO",      "PRODUTO",     "NUTRIENTE",
    "CARDAPIO",    "PRODCARD",    "NUTRCARD",   "CTRFREQPRAT", "CTRRESTPRAT",
    "CTRUTILPRAT", "CTRRESTPROD", "CTRLIMSERV", "CTRLIMPRAT",  "CTRLIMNUTR",
};

} // namespace

void probeDatabase(const std::string& location) {
    Database db(location);
    for (const char* table : kTablesRead) {
        try {
            db.query(std::string("SELECT 1 FROM ") + table + " WHERE 1 = 0", {}, [](const SqlRow&) {});
        } catch (const DatabaseError& error) {
            throw DatabaseError("o banco de dados '" + maskedLocation(location) + "' não tem a tabela " +
                                table + " do sistema (banco vazio ou de outro sistema?): " + error.what());
        }
    }
}

bool sameCluster(const std::string& url, const std::string& other) {
    const auto identity = [](const std::string& location) -> std::string {
        if (!isPostgresUrl(location))
            return {};
        try {
            Database db(location);
            std::string id;
            db.query("SELECT system_identifier::text FROM pg_control_system()", {},
                     [&](const SqlRow& row) { id = row.text(0); });
            return id;
        } catch (const DatabaseError&) {
            return {};
        }
    };
    const std::string first = identity(url);
    return !first.empty() && first == identity(other);
}

} // namespace server
