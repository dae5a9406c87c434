#pragma once

#include "protocol/HostPort.h"

#include <string>

namespace bench {

// The --target of both bench tools: a server started elsewhere. Throws std::invalid_argument with
// a Portuguese message naming the option.
proto::HostPort parseTargetOption(const std::string& text);

} // namespace bench
