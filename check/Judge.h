#pragma once

#include "AnalysisWalk.h"
#include "check/Model.h"
#include "protocol/Packet.h"

#include <functional>

namespace check {

// How the check reaches one of the server's methods: answers its packet, throws on an error answer.
// In process the module's packet comes as it is; over the wire the packet the protocol read (and
// checked) from the answer, with no JSON of it kept.
using PacketCaller = std::function<proto::Packet(const std::string& method, const nlohmann::json& params)>;

// Judges one service-month as the verify button runs it, through whatever calls the server's
// methods (in process or over the wire): the week span, the eleven summaries and, for every summary
// row, its detail. Answers the verdict and the infringed categories; a failed call makes the verdict
// an error with its message, never clear.
// Each row's "why" comes from `compose`, given the summary packet, the row and its detail packet.
using Composer = std::function<std::string(const std::string& method, const proto::Packet& summary,
                                           std::size_t row, const proto::Packet& detail)>;
void judge(const PacketCaller& call, const Month& month, const Composer& compose, ServiceResult& result);

// One row of a packet as an object of field name to value, each value as the wire writes it.
Json rowObject(const proto::Packet& packet, std::size_t row);
// Every row of a packet so.
Json rowObjects(const proto::Packet& packet);

} // namespace check
