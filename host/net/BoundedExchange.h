#pragma once

#include <httplib.h>

#include <cstddef>
#include <string>

namespace host {

// One request whose answer body is read only up to `maxAnswerBytes` (after any decompression, so a
// small compressed answer cannot inflate past it). When the answer is larger the exchange is cut,
// the result carries Error::Canceled and `oversized` is set; the connection is not reused.
httplib::Result exchangeBounded(httplib::Client& client, const std::string& method, const std::string& path,
                                const httplib::Headers& headers, const std::string& body,
                                std::size_t maxAnswerBytes, bool& oversized);

} // namespace host
