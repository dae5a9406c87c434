#pragma once

namespace proto {

// The one remote data module this system serves.
inline constexpr const char* kServerModule = "KDR60251.rdmAnalRestCont";
inline constexpr int kDefaultPort = 60251;

inline constexpr const char* kSessionPath = "/session";
inline constexpr const char* kRpcPath = "/rpc";
inline constexpr const char* kSessionHeader = "X-Session";

// Request bodies above this are refused with 413 before they are parsed.
inline constexpr std::size_t kMaxBodyBytes = 1024 * 1024;

} // namespace proto
