#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

namespace fuzz {

// Takes a fuzz input apart front to back: fixed-size values first, then texts up to a NUL byte.
class FuzzInput {
public:
    FuzzInput(const unsigned char* data, std::size_t size)
        : rest_(reinterpret_cast<const char*>(data), size) {}

    // Zero when the input is used up, so every input means something.
    template <typename T> T take() {
        T value{};
        const std::size_t n = rest_.size() < sizeof(T) ? rest_.size() : sizeof(T);
        std::memcpy(&value, rest_.data(), n);
        rest_.remove_prefix(n);
        return value;
    }

    // The bytes up to the next NUL (dropped), or all that is left.
    std::string_view text() {
        const std::size_t end = rest_.find('\0');
        const std::string_view part = rest_.substr(0, end);
        rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end + 1);
        return part;
    }

    std::string_view rest() const { return rest_; }

private:
    std::string_view rest_;
};

} // namespace fuzz
