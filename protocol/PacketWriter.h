#pragma once

#include "protocol/Packet.h"

#include <string>

namespace proto {

// Writes a packet's JSON straight into a text, without building a document first. The text is the
// one packetToJson(...).dump() gives, byte for byte.
void appendPacketJson(std::string& out, const Packet& packet);
void appendValueJson(std::string& out, const Value& value);

} // namespace proto
