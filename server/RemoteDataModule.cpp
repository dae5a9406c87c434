#include "server/RemoteDataModule.h"

#include "protocol/Rpc.h"
#include "server/CallError.h"
#include "server/rules/BoundedText.h"
#include "server/store/DatabaseError.h"

#include <algorithm>

namespace server {

RemoteDataModule::RemoteDataModule(const std::string& databasePath) : pool_(databasePath) {
    addServiceMethods(table_);
    addDishMethods(table_);
    addDishDetailMethods(table_);
    addProductMethods(table_);
    addNutrientMethods(table_);
    for (const MethodDef& def : table_)
        methods_.emplace(def.name, &def);
}

std::vector<std::string> RemoteDataModule::methodNames() const {
    std::vector<std::string> names;
    for (const MethodDef& def : table_)
        names.push_back(def.name);
    return names;
}

void RemoteDataModule::checkDatabase() {
    auto db = pool_.acquire();
    try {
        db.db().query("SELECT 1 FROM SERVFILI WHERE 1 = 0", {}, [](const SqlRow&) {});
    } catch (const DatabaseError&) {
        db.discard();
        throw;
    }
}

CallResult RemoteDataModule::call(const std::string& method, const nlohmann::json& params,
                                  SessionState& session) {
    const auto found = methods_.find(method);
    if (found == methods_.end())
        throw CallError(proto::kMethodNotFound, "Método não encontrado: " + boundedText(method) + ".");
    const MethodDef& def = *found->second;
    const Arguments args(method, def.params, def.span, params);

    // The session changes only when the method succeeds.
    SessionState next = session;
    try {
        auto db = pool_.acquire(session.connection);
        next.connection = db.id();
        try {
            const ReadTransaction reading(db.db());
            MenuRepository repo(db.db(), &db.cache());
            MethodContext context{method, args, repo, next};
            CallResult result = def.run(context);
            session = next;
            return result;
        } catch (const DatabaseError&) {
            db.discard();
            throw;
        }
    } catch (const DatabaseError& error) {
        // The database's own message may name a file or a statement: the log gets it, the client not.
        throw CallError(proto::kServerError,
                        "Método " + method +
                            ": falha ao ler o banco de dados; detalhes no registro do servidor.",
                        error.what());
    }
}

} // namespace server
