#pragma once

#include "protocol/HostPort.h"

#include <string>

namespace bench {

// The --target of the bench tools: a server started elsewhere. Throws std::invalid_argument with
// a Portuguese message naming the option.
proto::HostPort parseTargetOption(const std::string& text);

// The --secret-file of the bench tools: the secret such a server demands, read as the server reads
// its own. Throws std::invalid_argument with a Portuguese message naming the option.
std::string readSecretOption(const std::string& path);

// What both options say together: the secret means nothing to a server the tool starts itself.
void checkSecretNeedsTarget(bool secretGiven, bool targetGiven);

} // namespace bench
