#pragma once

#include "server/rules/MethodTable.h"
#include "server/rules/SessionState.h"
#include "server/store/DatabasePool.h"

#include <nlohmann/json.hpp>

#include <string>
#include <unordered_map>
#include <vector>

namespace server {

// The remote data module: every method of the server interface, computed from the suite's database,
// callable without HTTP (the HTTP layer and the benchmark both come through call()).
class RemoteDataModule {
public:
    explicit RemoteDataModule(const std::string& databasePath);

    // Throws CallError: unknown method, refused parameter, failed read (never an empty answer for a
    // database that cannot be read).
    CallResult call(const std::string& method, const nlohmann::json& params, SessionState& session);

    bool hasMethod(const std::string& method) const { return methods_.count(method) != 0; }
    std::vector<std::string> methodNames() const;
    // The module's connections, for a tool in the same process that reads the same database between
    // its calls and so needs no connection of its own.
    DatabasePool& pool() { return pool_; }

private:
    DatabasePool pool_;
    std::vector<MethodDef> table_;
    std::unordered_map<std::string, const MethodDef*> methods_;
};

} // namespace server
