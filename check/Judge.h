#pragma once

#include "AnalysisWalk.h"
#include "check/Model.h"
#include "check/PipelinedSession.h"
#include "protocol/Packet.h"

#include <functional>

namespace check {

// Work of the caller's own that runs while a batch is away; empty for none.
using Meanwhile = std::function<void()>;
// How the check reaches the server's methods: answers the packets of a batch of calls, in order;
// throws on an error answer. The calls of a batch depend on none of its answers, so over the wire
// they travel together, and `meanwhile` runs once they are sent, before their answers are read. In
// process the module's packets come as they are; over the wire the packets the protocol read (and
// checked) from the answers, with no JSON of them kept.
using PacketCaller =
    std::function<std::vector<proto::Packet>(const std::vector<Call>& calls, const Meanwhile& meanwhile)>;

// Judges one service-month as the verify button runs it, through whatever calls the server's
// methods (in process or over the wire): the week span, the eleven summaries and, for every summary
// row, its detail: three batches. Answers the verdict and the infringed categories; a failed call
// makes the verdict an error with its message, never clear. Each row's "why" comes from `compose`,
// given the summary packet, the row and its detail packet.
using Composer = std::function<std::string(const std::string& method, const proto::Packet& summary,
                                           std::size_t row, const proto::Packet& detail)>;
void judge(const PacketCaller& call, const Month& month, const Composer& compose, const Meanwhile& meanwhile,
           ServiceResult& result);

// One row of a packet as an object of field name to value, each value as the wire writes it.
Json rowObject(const proto::Packet& packet, std::size_t row);
// Every row of a packet so.
Json rowObjects(const proto::Packet& packet);

} // namespace check
