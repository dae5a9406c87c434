#pragma once

#include "protocol/Packet.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace proto {

// JSON-RPC 2.0 error codes used on the wire.
enum RpcErrorCode : int {
    kParseError = -32700,
    kInvalidRequest = -32600,
    kMethodNotFound = -32601,
    kInvalidParams = -32602,
    kInternalError = -32603,
    kServerError = -32000, // the method ran and failed (database, session state)
};

struct RpcRequest {
    nlohmann::json id; // number or string, echoed back as received
    std::string method;
    nlohmann::json params = nlohmann::json::array(); // always an array: parameters are positional
};

struct RpcResponse {
    bool ok = false;
    Packet packet;                     // when ok
    std::map<int, nlohmann::json> out; // new values of by-reference parameters, by index from 0
    int errorCode = 0;                 // when not ok
    std::string errorMessage;          // when not ok
};

// Client side. Dates travel as YYYY-MM-DDTHH:MM:SS, a null value as null.
std::string encodeRequest(std::int64_t id, const std::string& method, const std::vector<Value>& params);
// Throws ProtocolError when the body is not a JSON-RPC 2.0 answer to this id or its packet is bad.
RpcResponse decodeResponse(const std::string& body, std::int64_t expectedId);
// The same reading over a whole JSON document: slower, and the one that words every refusal.
// decodeResponse takes it for whatever the direct reading declines.
RpcResponse decodeResponseDocument(const std::string& body, std::int64_t expectedId);

// Server side. Throws RpcRequestError for a body that is not a JSON-RPC 2.0 request.
class RpcRequestError : public std::runtime_error {
public:
    RpcRequestError(int code, const std::string& message, nlohmann::json id = nullptr)
        : std::runtime_error(message), code_(code), id_(std::move(id)) {}
    int code() const { return code_; }
    const nlohmann::json& id() const { return id_; }

private:
    int code_;
    nlohmann::json id_;
};

RpcRequest decodeRequest(const std::string& body);
std::string encodeResult(const nlohmann::json& id, const Packet& packet,
                         const std::map<int, Value>& out = {});
std::string encodeError(const nlohmann::json& id, int code, const std::string& message);

} // namespace proto
