#pragma once

#include "AnalysisWalk.h"
#include "check/Model.h"
#include "protocol/Packet.h"

#include <functional>

namespace check {

// Judges one service-month as the verify button runs it, through whatever calls the server's
// methods (in process or over the wire): the week span, the eleven summaries and, for every summary
// row, its detail. Answers the verdict and the infringed categories; a failed call makes the verdict
// an error with its message, never clear.
// Each row's "why" comes from `compose`, given the summary packet, the row and its detail packet.
using Composer = std::function<std::string(const std::string& method, const proto::Packet& summary,
                                           std::size_t row, const proto::Packet& detail)>;
void judge(const bench::Caller& call, const Month& month, const Composer& compose, ServiceResult& result);

// A packet (as JSON) row by row, each as an object of field name to value.
Json rowObjects(const nlohmann::json& packet);

} // namespace check
