#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace server::http {

// What a request head may hold before anything else is done with it.
struct HeadLimits {
    std::size_t maxRequestLine = 8 * 1024;
    std::size_t maxHeadBytes = 32 * 1024; // request line, fields and the blank line
    std::size_t maxFields = 100;
    std::uint64_t maxBodyBytes = 1024 * 1024;
};

enum class Framing { None, Length, Chunked };

// The verdict on one request head. `status` 0 admits it; any other is the refusal to answer, after
// which the connection is closed (its framing cannot be trusted).
struct HeadVerdict {
    int status = 0;
    std::string reason; // Portuguese, for the client
    Framing framing = Framing::None;
    std::uint64_t contentLength = 0;

    bool admitted() const { return status == 0; }
};

// The checks the HTTP parser does not make, on the head's bytes up to and including its blank line:
// every line ends in CRLF (no bare CR or LF), no obs-fold, bounded request line, field count and size,
// exactly one digits-only Content-Length or Transfer-Encoding exactly "chunked" (never both), no
// Content-Encoding but identity, a declared body within the limit. Pure: the same bytes, the same
// verdict; any bytes at all are safe to give it.
HeadVerdict checkHead(std::string_view head, const HeadLimits& limits);
// Why these bytes, the start of a head still arriving, can never become one that passes: a bare LF
// or a CR not followed by LF (a CR at the very end may still get its LF). Empty when none.
std::string lineEndFault(std::string_view start);
// The refusals' texts, for the reader that meets the same limits while the bytes arrive.
std::string headTooLarge(const HeadLimits& limits);
std::string bodyTooLarge(const HeadLimits& limits);

} // namespace server::http
