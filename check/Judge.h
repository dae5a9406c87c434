#pragma once

#include "AnalysisWalk.h"
#include "check/Model.h"

namespace check {

// Judges one service-month as the verify button runs it, through whatever calls the server's
// methods (in process or over the wire): the week span, the eleven summaries and, for every summary
// row, its detail. Answers the verdict and the infringed categories; a failed call makes the verdict
// an error with its message, never clear.
void judge(const bench::Caller& call, const Month& month, ServiceResult& result);

// A packet (as JSON) row by row, each as an object of field name to value.
nlohmann::json rowObjects(const nlohmann::json& packet);

} // namespace check
