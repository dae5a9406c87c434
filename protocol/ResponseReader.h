#pragma once

#include "protocol/Rpc.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace proto {

// Reads the answer to a call straight into a response, without a JSON document in between: the
// path every successful answer takes. It gives nothing for anything but a well-formed, fully valid
// result in the usual layout (an error answer, a packet that would be refused, rows before fields,
// a repeated key, numbers past 64 bits): the document reading then decides and words the refusal,
// so both ways accept the same answers with the same values.
std::optional<RpcResponse> readResultDirect(std::string_view body, std::int64_t expectedId);

} // namespace proto
