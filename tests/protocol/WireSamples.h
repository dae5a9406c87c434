#pragma once

#include "protocol/Packet.h"
#include "protocol/Rpc.h"

#include <cstdint>
#include <map>
#include <random>
#include <string>

// Packets and answers made up from a seed, with the awkward cases the wire must carry: accents,
// characters that need escaping, four-byte characters, doubles of every magnitude, the ends of the
// integer range, dates from both sides of 1899-12-30.
class WireSamples {
public:
    explicit WireSamples(unsigned seed) : random_(seed) {}

    // validUtf8 false lets some texts carry bytes that are not UTF-8, as a server's database might.
    proto::Packet packet(bool validUtf8 = true, int maxRows = 24);
    std::map<int, proto::Value> outValues();
    proto::Value anyValue();

private:
    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    std::string text(int maxChars, bool validUtf8);
    proto::Value value(const proto::FieldDef& field, bool validUtf8);
    double number();
    proto::DateTime date();

    std::mt19937_64 random_;
};

// The same outcome both ways: the same message when refused, the same values bit for bit when read.
struct Outcome {
    bool refused = false;
    std::string message;
    proto::RpcResponse response;
};

template <class Read> Outcome outcomeOf(Read&& read) {
    Outcome outcome;
    try {
        outcome.response = read();
    } catch (const std::exception& error) {
        outcome.refused = true;
        outcome.message = error.what();
    }
    return outcome;
}

bool sameResponse(const proto::RpcResponse& a, const proto::RpcResponse& b);
bool sameOutcome(const Outcome& a, const Outcome& b);
