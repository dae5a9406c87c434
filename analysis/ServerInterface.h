#pragma once

#include "host/data/TClientDataSet.h"
#include "host/net/NetConnection.h"

#include <QString>

#include <optional>
#include <vector>

namespace analysis {

// How one argument of a server method travels.
enum class ArgKind {
    Text,      // a QString, never null
    Date,      // a proto::DateTime, by value
    Double,    // a double, or null (std::monostate) for "no limit"
    DateByRef, // a host::ByRefDate: the server's new value is written back
};

struct ArgRule {
    const char* name;
    ArgKind kind;
};

struct ServerMethod {
    const char* name;
    std::vector<ArgRule> args;
};

// Every method of the remote data module, with its arguments in order.
const std::vector<ServerMethod>& serverMethods();
// nullptr for a name the remote data module does not have.
const ServerMethod* findServerMethod(const QString& name);

// Calls a method with arguments checked against the table (an unknown method, a wrong count or
// kind is a programming error: std::logic_error, nothing is sent), passes the answer through
// CheckResultServ and loads the packet whole into the set. Transport failures and server
// refusals throw host::Refusal; the set keeps its rows then.
void CallServerMethod(host::TNetConnection& connection, const QString& method,
                      const std::vector<host::CallArg>& args, host::TClientDataSet& target);

// A limit from a summary row: null travels as null, meaning no bound.
host::CallArg limitArg(const host::TField& field);
host::CallArg dateArg(double days);

// The one method with a by-reference argument: the month variable receives the first day of the
// month of the session's week span.
void GetFreqPratSemDet(host::TNetConnection& connection, const QString& cdFilial, const QString& cdServFili,
                       const QString& nrSemana, const QString& cdPrato, double& dtMesCard,
                       host::TClientDataSet& target);

} // namespace analysis
