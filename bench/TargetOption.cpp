#include "TargetOption.h"

#include <stdexcept>

namespace bench {

proto::HostPort parseTargetOption(const std::string& text) {
    try {
        return proto::parseHostPort(text);
    } catch (const std::invalid_argument& error) {
        throw std::invalid_argument(std::string("endereço inválido para --target: ") + error.what());
    }
}

} // namespace bench
