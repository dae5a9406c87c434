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

} // namespace server
