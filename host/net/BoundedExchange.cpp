#include "host/net/BoundedExchange.h"

#include <charconv>
#include <cstdint>

namespace host {

namespace {

// An announced length past the bound is refused before a byte of the body is read. A length that
// is not plain digits is left to the count of bytes received, which holds whatever the framing.
bool announcesMoreThan(const httplib::Response& response, std::size_t limit) {
    if (!response.has_header("Content-Length"))
        return false;
    const std::string text = response.get_header_value("Content-Length");
    std::uint64_t length = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), length);
    if (error == std::errc::result_out_of_range)
        return true;
    return error == std::errc() && end == text.data() + text.size() && length > limit;
}

} // namespace

httplib::Result exchangeBounded(httplib::Client& client, const std::string& method, const std::string& path,
                                const httplib::Headers& headers, const std::string& body,
                                std::size_t maxAnswerBytes, bool& oversized) {
    oversized = false;
    std::string received;
    httplib::Request request;
    request.method = method;
    request.path = path;
    request.headers = headers;
    if (!body.empty()) {
        request.body = body;
        request.headers.emplace("Content-Type", "application/json");
    }
    request.response_handler = [&](const httplib::Response& response) {
        oversized = announcesMoreThan(response, maxAnswerBytes);
        return !oversized;
    };
    // With a receiver the library neither reserves the announced length nor keeps the body itself.
    request.content_receiver = [&](const char* data, std::size_t size, std::uint64_t, std::uint64_t) {
        if (size > maxAnswerBytes - received.size()) {
            oversized = true;
            return false;
        }
        received.append(data, size);
        return true;
    };
    httplib::Result result = client.send(request);
    if (result)
        result.value().body = std::move(received);
    return result;
}

} // namespace host
