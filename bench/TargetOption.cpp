#include "TargetOption.h"

#include "server/ServerOptions.h"

#include <stdexcept>

namespace bench {

proto::HostPort parseTargetOption(const std::string& text) {
    try {
        return proto::parseHostPort(text);
    } catch (const std::invalid_argument& error) {
        throw std::invalid_argument(std::string("endereço inválido para --target: ") + error.what());
    }
}

std::string readSecretOption(const std::string& path) {
    try {
        return server::readSecretFile(path);
    } catch (const std::invalid_argument& error) {
        throw std::invalid_argument(std::string("--secret-file: ") + error.what());
    }
}

void checkSecretNeedsTarget(bool secretGiven, bool targetGiven) {
    if (secretGiven && !targetGiven)
        throw std::invalid_argument("--secret-file só vale com --target: o servidor iniciado aqui não "
                                    "exige segredo.");
}

} // namespace bench
