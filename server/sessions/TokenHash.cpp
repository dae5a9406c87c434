#include "server/sessions/TokenHash.h"

#include <openssl/evp.h>

#include <stdexcept>

namespace server {

std::string sha256Hex(const std::string& text) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_Digest(text.data(), text.size(), digest, &length, EVP_sha256(), nullptr) != 1 || length != 32)
        throw std::runtime_error("SHA-256 failed");
    return hexDigits(digest, length);
}

std::string hexDigits(const unsigned char* bytes, std::size_t count) {
    static const char kHex[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(2 * count);
    for (std::size_t i = 0; i < count; ++i) {
        hex += kHex[bytes[i] >> 4];
        hex += kHex[bytes[i] & 15];
    }
    return hex;
}

} // namespace server
