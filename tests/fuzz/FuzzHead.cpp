#include "FuzzCheck.h"
#include "FuzzInput.h"

#include "protocol/Utf8.h"
#include "server/http/HeadCheck.h"

#include <cstdint>

// The request head's checks see bytes straight from the network. Whatever they are: no crash, the
// same verdict twice, a refusal that is one of the head's statuses with a clean Portuguese reason,
// and nothing admitted that breaks the framing rules or the limits it was given.

using server::http::checkHead;
using server::http::Framing;
using server::http::HeadLimits;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    // Small limits are reachable by short inputs; zero keeps the defaults.
    HeadLimits limits;
    if (const auto line = input.take<std::uint8_t>())
        limits.maxRequestLine = line;
    if (const auto fields = input.take<std::uint8_t>())
        limits.maxFields = fields % 16;
    if (const auto whole = input.take<std::uint8_t>())
        limits.maxHeadBytes = whole * 64u;
    if (const auto body = input.take<std::uint16_t>())
        limits.maxBodyBytes = body;
    const std::string_view head = input.rest();

    const auto verdict = checkHead(head, limits);
    const auto again = checkHead(head, limits);
    FUZZ_CHECK(verdict.status == again.status && verdict.reason == again.reason &&
                   verdict.framing == again.framing && verdict.contentLength == again.contentLength,
               "two verdicts on one head");
    if (!verdict.admitted()) {
        FUZZ_CHECK(verdict.status == 400 || verdict.status == 413 || verdict.status == 415 ||
                       verdict.status == 431,
                   std::to_string(verdict.status));
        FUZZ_CHECK(!verdict.reason.empty() && verdict.reason.size() < 200 &&
                       proto::isValidUtf8(verdict.reason),
                   verdict.reason);
        return 0;
    }
    FUZZ_CHECK(head.size() <= limits.maxHeadBytes && head.size() >= 4 &&
                   head.substr(head.size() - 4) == "\r\n\r\n",
               std::string(head));
    for (std::size_t i = 0; i < head.size(); ++i) {
        FUZZ_CHECK(head[i] != '\n' || (i > 0 && head[i - 1] == '\r'), "bare LF admitted");
        FUZZ_CHECK(head[i] != '\r' || (i + 1 < head.size() && head[i + 1] == '\n'), "bare CR admitted");
    }
    FUZZ_CHECK(head.find("\r\n ") == std::string_view::npos || head.find("\r\n ") >= head.find("\r\n\r\n"),
               "obs-fold admitted");
    FUZZ_CHECK(head.find("\r\n") <= limits.maxRequestLine, "long request line admitted");
    FUZZ_CHECK(verdict.framing != Framing::Chunked || verdict.contentLength == 0, "chunked with a length");
    FUZZ_CHECK(verdict.framing != Framing::Length || verdict.contentLength <= limits.maxBodyBytes,
               std::to_string(verdict.contentLength));
    return 0;
}
