#pragma once

#include "protocol/Packet.h"

#include <QString>

#include <cstddef>
#include <functional>
#include <memory>
#include <variant>
#include <vector>

namespace host {

// A date passed by reference: the server's new value (answer "out") is written back through it.
struct ByRefDate {
    double* days; // a date-time variable: days since 1899-12-30
};

// One positional argument of a late-bound call: null, text, double, date (by value) or date by
// reference.
using CallArg = std::variant<std::monostate, QString, double, proto::DateTime, ByRefDate>;

// What a server method returned, before CheckResultServ looks at it: either the packet or the
// server's refusal.
struct ServerResult {
    bool ok = false;
    proto::Packet packet;
    QString error; // the server's message when !ok
};

// The socket connection to the application server: one session on one remote data module, calls
// synchronous on the UI thread.
class TNetConnection {
public:
    TNetConnection();
    ~TNetConnection(); // disconnects, never throws
    TNetConnection(const TNetConnection&) = delete;
    TNetConnection& operator=(const TNetConnection&) = delete;

    QString ServerName; // the remote data module, e.g. "KDR60251.rdmAnalRestCont"
    QString Host;
    int Port = 0;
    int TimeoutMs = 30000;
    // An answer larger than this is refused instead of read: a server gone wrong cannot fill the
    // host's memory.
    std::size_t MaxAnswerBytes = std::size_t{64} << 20;

    // Raised at the start of every Connect, before Host and Port are read.
    std::function<void(TNetConnection&)> BeforeConnect;

    // Opens a session on ServerName. Throws Refusal with a Portuguese message naming host and port
    // when the server cannot be reached, refuses the session, times out or answers an HTTP error.
    void Connect();
    void Disconnect(); // closes the session; never throws
    bool Connected() const;

    // Calls a method with positional arguments. Transport failures throw Refusal (naming host and
    // port); a server-side refusal comes back as a ServerResult with ok false, for CheckResultServ.
    // By-reference dates are written back from the answer before it returns. A session the server
    // no longer knows leaves the connection closed (Connected() false) and is never reopened here:
    // the user is told to reopen the screen.
    ServerResult Call(const QString& method, const std::vector<CallArg>& args);

private:
    // Forgets the session without telling the server, which no longer has it.
    void dropSession();

    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// How a blocking exchange with the server is waited for. The default runs it in place; the host's
// application runs it off the user-interface thread, so that the screen can offer to give up on it.
// cancel, called only while the exchange runs, ends it at once as a failed exchange.
using ExchangeWaiter =
    std::function<void(const std::function<void()>& exchange, const std::function<void()>& cancel)>;
void SetExchangeWaiter(ExchangeWaiter waiter);

// Returns the packet of a successful call; throws Refusal with the server's message otherwise. The
// two trailing arguments are the suite's usual (true, 0) and change nothing here.
proto::Packet CheckResultServ(const ServerResult& result, bool raise = true, int context = 0);

} // namespace host
