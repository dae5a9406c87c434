#include "server/store/SqlPlaceholders.h"

namespace server {

std::string numberedPlaceholders(std::string_view sql) {
    std::string out;
    out.reserve(sql.size() + 16);
    int next = 1;
    std::size_t i = 0;
    // Copies up to and including the first `close` from `from` on, or to the end of a text left open.
    const auto copyThrough = [&](std::size_t from, std::string_view close) {
        const std::size_t end = sql.find(close, from);
        const std::size_t stop = end == std::string_view::npos ? sql.size() : end + close.size();
        out.append(sql.substr(i, stop - i));
        i = stop;
    };
    while (i < sql.size()) {
        const char c = sql[i];
        if (c == '?') {
            out += '$' + std::to_string(next++);
            ++i;
        } else if (c == '\'' || c == '"') {
            // A doubled quote inside is two literals back to back, which this loop copies alike.
            copyThrough(i + 1, std::string_view(&sql[i], 1));
        } else if (sql.substr(i, 2) == "--") {
            copyThrough(i + 2, "\n");
        } else if (sql.substr(i, 2) == "/*") {
            copyThrough(i + 2, "*/");
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

} // namespace server
