#include "server/ServerOptions.h"

#include <algorithm>
#include <arpa/inet.h>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>

namespace server {
namespace {

std::string readSecret(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw std::invalid_argument("não foi possível ler o arquivo do segredo '" + path + "'.");
    // A secret other users can read is no secret: refuse it before anyone relies on it.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || (info.st_mode & (S_IROTH | S_IWOTH)) != 0)
        throw std::invalid_argument("o arquivo do segredo '" + path +
                                    "' pode ser lido por outros usuários; restrinja-o (chmod 600).");
    std::stringstream text;
    text << file.rdbuf();
    std::string secret = text.str();
    const auto first = secret.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        throw std::invalid_argument("o arquivo do segredo '" + path + "' está vazio.");
    secret = secret.substr(first, secret.find_last_not_of(" \t\r\n") - first + 1);
    return secret;
}

} // namespace

long long optionNumber(const std::string& option, const std::string& text, long long min, long long max) {
    std::size_t used = 0;
    long long value = 0;
    try {
        value = std::stoll(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != text.size() || value < min || value > max)
        throw std::invalid_argument("valor inválido para " + option + ": '" + text +
                                    "' (esperado um número de " + std::to_string(min) + " a " +
                                    std::to_string(max) + ").");
    return value;
}

bool isLoopbackHost(const std::string& host) {
    if (host == "localhost")
        return true;
    unsigned char address[16];
    if (inet_pton(AF_INET, host.c_str(), address) == 1)
        return address[0] == 127;
    const std::string bare =
        host.size() > 2 && host.front() == '[' && host.back() == ']' ? host.substr(1, host.size() - 2) : host;
    if (inet_pton(AF_INET6, bare.c_str(), address) == 1) {
        static const unsigned char kLoopback6[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
        return std::equal(std::begin(address), std::end(address), std::begin(kLoopback6));
    }
    // A name other than localhost may resolve to any interface.
    return false;
}

std::string usageText() {
    return "uso: restcont-server --database ARQUIVO|URL [opções]\n"
           "  --database ARQUIVO|URL    banco do sistema, lido sem nunca ser alterado: um arquivo SQLite\n"
           "                            ou um banco PostgreSQL "
           "(postgresql://usuário:senha@máquina:porta/banco)\n"
           "  --listen HOST:PORTA       endereço de escuta (padrão 127.0.0.1:60251; porta 0 = qualquer "
           "livre)\n"
           "  --secret-file ARQUIVO     exige 'Authorization: Bearer <segredo>' em toda requisição; o "
           "arquivo\n"
           "                            não pode ser legível por outros; obrigatório fora de 127.0.0.1\n"
           "  --session-idle SEGUNDOS   descarta sessões ociosas após esse tempo (padrão 1800)\n"
           "  --max-sessions N          recusa novas sessões além de N (padrão 64)\n"
           "  --threads N               linhas de execução do servidor HTTP (padrão 32)\n"
           "  --help                    mostra este texto\n";
}

ServerOptions parseOptions(const std::vector<std::string>& args) {
    ServerOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
            return options;
        }
        const auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size())
                throw std::invalid_argument("falta o valor de " + arg + ".");
            return args[++i];
        };
        if (arg == "--database") {
            options.database = value();
        } else if (arg == "--listen") {
            const std::string& listen = value();
            const auto colon = listen.rfind(':');
            if (colon == std::string::npos || colon == 0)
                throw std::invalid_argument("endereço inválido para --listen: '" + listen +
                                            "' (use HOST:PORTA).");
            options.host = listen.substr(0, colon);
            options.port = static_cast<int>(optionNumber("--listen", listen.substr(colon + 1), 0, 65535));
        } else if (arg == "--secret-file") {
            options.secret = readSecret(value());
        } else if (arg == "--session-idle") {
            options.sessionIdleSeconds = static_cast<int>(optionNumber(arg, value(), 1, 7 * 24 * 3600));
        } else if (arg == "--max-sessions") {
            options.maxSessions = static_cast<std::size_t>(optionNumber(arg, value(), 1, 100000));
        } else if (arg == "--threads") {
            options.threads = static_cast<int>(optionNumber(arg, value(), 1, 1024));
        } else {
            throw std::invalid_argument("opção desconhecida: '" + arg + "'.");
        }
    }
    if (options.database.empty())
        throw std::invalid_argument("falta --database ARQUIVO|URL.");
    // Off this machine anyone who can reach the port could read every contract: demand the secret.
    if (!options.help && !options.secret && !isLoopbackHost(options.host))
        throw std::invalid_argument("recusado escutar em '" + options.host +
                                    "' sem --secret-file: fora do endereço local (127.0.0.1) o servidor "
                                    "exige um segredo.");
    return options;
}

} // namespace server
