#pragma once

#include "ScriptedServer.h"

#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>

// A loopback front for the real server: every request is passed on to it and its answer passed
// back, except for the calls a test has armed with a fault. The screen then runs on real data up to
// the one call that goes wrong.
class FaultyFront {
public:
    // What the front answers to one call of a method: from the real server's answer (status and
    // body), the answer the client gets.
    using Fault = std::function<ScriptedServer::Answer(const ScriptedServer::Answer& real)>;

    explicit FaultyFront(int realPort);
    ~FaultyFront(); // releases the calls left hanging

    int port() const { return front_.port(); }

    // Every later call of the method gets the fault.
    void arm(const std::string& method, Fault fault);
    // Every later call of the method waits this long before it is passed on.
    void delay(const std::string& method, int milliseconds);
    // Every later call of the method is never answered: it waits until disarm or the front goes.
    void hang(const std::string& method);
    void disarm();

    // The methods called through the front so far, in order.
    std::vector<std::string> methods() const;
    // Those calls as they arrived, bodies included.
    std::vector<ScriptedServer::Recorded> calls() const { return front_.rpcRequests(); }

private:
    ScriptedServer::Answer pass(const ScriptedServer::Recorded& request, const std::string& path);

    int realPort_;
    mutable std::mutex mutex_;
    std::map<std::string, Fault> faults_;
    std::map<std::string, int> delays_;
    std::map<std::string, bool> hangs_;
    std::condition_variable released_;
    bool releasing_ = false;
    ScriptedServer front_;
};

// The method a JSON-RPC request body names; empty when the body is not one.
std::string methodOf(const std::string& body);
