#include "server/ServerOptions.h"

#include "server/store/DatabaseLocation.h"

#include <algorithm>
#include <arpa/inet.h>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <sys/stat.h>

namespace server {

// A secret is a line of text: a file far longer is not one, and is not read into memory whole.
constexpr std::streamsize kMaxSecretBytes = 4096;

std::string readSecretFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw std::invalid_argument("não foi possível ler o arquivo do segredo '" + path + "'.");
    // A secret other users can read is no secret: refuse it before anyone relies on it.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || (info.st_mode & (S_IROTH | S_IWOTH)) != 0)
        throw std::invalid_argument("o arquivo do segredo '" + path +
                                    "' pode ser lido por outros usuários; restrinja-o (chmod 600).");
    std::string secret(static_cast<std::size_t>(kMaxSecretBytes) + 1, '\0');
    file.read(secret.data(), kMaxSecretBytes + 1);
    secret.resize(static_cast<std::size_t>(file.gcount()));
    if (secret.size() > static_cast<std::size_t>(kMaxSecretBytes))
        throw std::invalid_argument("o arquivo do segredo '" + path + "' passa de " +
                                    std::to_string(kMaxSecretBytes) + " bytes.");
    const auto first = secret.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        throw std::invalid_argument("o arquivo do segredo '" + path + "' está vazio.");
    secret = secret.substr(first, secret.find_last_not_of(" \t\r\n") - first + 1);
    return secret;
}

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
           "livre;\n"
           "                            IPv6 entre colchetes: [::1]:0, [::]:60251)\n"
           "  --secret-file ARQUIVO     exige 'Authorization: Bearer <segredo>' em toda requisição; o "
           "arquivo\n"
           "                            não pode ser legível por outros; obrigatório fora do endereço "
           "local\n"
           "  --session-idle SEGUNDOS   descarta sessões ociosas após esse tempo (padrão 1800)\n"
           "  --max-sessions N          sessões abertas ao mesmo tempo (padrão 64)\n"
           "  --session-grace SEGUNDOS  com a tabela cheia, a sessão ociosa há mais tempo que isso cede\n"
           "                            lugar à nova (padrão 60)\n"
           "  --max-sessions-per-address N  sessões por endereço de cliente (IPv6: por rede /64); 0 = "
           "sem\n"
           "                            limite (padrão 8 fora do endereço local, sem limite nele)\n"
           "  --sessions URL            sessões num banco PostgreSQL (postgresql://...), compartilhadas\n"
           "                            por todos os servidores com a mesma URL; de preferência em outro\n"
           "                            cluster que o do banco do sistema (padrão: na memória deste)\n"
           "  --trusted-proxy ENDEREÇO  só conexões desse endereço podem indicar o cliente em\n"
           "                            X-Forwarded-For (o balanceador à frente dos servidores)\n"
           "  --threads N               linhas de execução que atendem as conexões (padrão 8): cada\n"
           "                            conexão nova vai à que tem menos, que lê suas requisições e\n"
           "                            calcula e envia suas respostas; conexões ociosas ou lentas\n"
           "                            não ocupam nenhuma\n"
           "  --max-connections N       conexões abertas ao mesmo tempo; além disso, 503 (padrão 2048)\n"
           "  --request-timeout SEGUNDOS  do primeiro ao último byte de uma requisição; depois, 408\n"
           "                            (padrão 10)\n"
           "  --idle-timeout SEGUNDOS   espera por uma nova requisição numa conexão mantida (padrão 60)\n"
           "  --max-requests-per-connection N  requisições numa conexão antes de fechá-la (padrão "
           "10000)\n"
           "  --max-body-bytes N        tamanho máximo do corpo, qualquer que seja o enquadramento; "
           "além\n"
           "                            disso, 413 (padrão 1048576)\n"
           "  --max-head-bytes N        tamanho máximo do cabeçalho; além disso, 431 (padrão 32768)\n"
           "  --max-header-fields N     campos de cabeçalho; além disso, 431 (padrão 100)\n"
           "  --max-request-line N      tamanho da linha de requisição; além disso, 431 (padrão 8192)\n"
           "  --help                    mostra este texto\n";
}

std::size_t ServerOptions::sessionsPerAddress() const {
    if (maxSessionsPerAddress)
        return *maxSessionsPerAddress;
    return isLoopbackHost(host) ? 0 : kDefaultSessionsPerAddress;
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
            const std::string host = colon == std::string::npos ? std::string() : listen.substr(0, colon);
            if (host.empty() || host == "[]")
                throw std::invalid_argument("endereço inválido para --listen: '" + listen +
                                            "' (use HOST:PORTA, ou [IPv6]:PORTA).");
            options.host = host;
            options.port = static_cast<int>(optionNumber("--listen", listen.substr(colon + 1), 0, 65535));
        } else if (arg == "--secret-file") {
            options.secret = readSecretFile(value());
        } else if (arg == "--session-idle") {
            options.sessionIdleSeconds = static_cast<int>(optionNumber(arg, value(), 1, 7 * 24 * 3600));
        } else if (arg == "--max-sessions") {
            options.maxSessions = static_cast<std::size_t>(optionNumber(arg, value(), 1, 100000));
        } else if (arg == "--session-grace") {
            options.sessionGraceSeconds = static_cast<int>(optionNumber(arg, value(), 0, 7 * 24 * 3600));
        } else if (arg == "--max-sessions-per-address") {
            options.maxSessionsPerAddress = static_cast<std::size_t>(optionNumber(arg, value(), 0, 100000));
        } else if (arg == "--sessions") {
            options.sessions = value();
            if (!isPostgresUrl(*options.sessions))
                throw std::invalid_argument("valor inválido para --sessions: '" +
                                            maskedLocation(*options.sessions) +
                                            "' (esperada uma URL postgresql://...).");
        } else if (arg == "--trusted-proxy") {
            options.trustedProxy = value();
            unsigned char address[16];
            if (inet_pton(AF_INET, options.trustedProxy->c_str(), address) != 1 &&
                inet_pton(AF_INET6, options.trustedProxy->c_str(), address) != 1)
                throw std::invalid_argument("endereço inválido para --trusted-proxy: '" +
                                            *options.trustedProxy +
                                            "' (use um endereço IPv4 ou IPv6 literal).");
        } else if (arg == "--threads") {
            options.threads = static_cast<int>(optionNumber(arg, value(), 1, 1024));
        } else if (arg == "--request-timeout") {
            options.requestTimeoutSeconds = static_cast<int>(optionNumber(arg, value(), 1, 3600));
        } else if (arg == "--idle-timeout") {
            options.idleTimeoutSeconds = static_cast<int>(optionNumber(arg, value(), 1, 24 * 3600));
        } else if (arg == "--max-requests-per-connection") {
            options.maxRequestsPerConnection =
                static_cast<std::size_t>(optionNumber(arg, value(), 1, 1000000000));
        } else if (arg == "--max-connections") {
            options.maxConnections = static_cast<std::size_t>(optionNumber(arg, value(), 1, 1000000));
        } else if (arg == "--max-body-bytes") {
            options.maxBodyBytes =
                static_cast<std::size_t>(optionNumber(arg, value(), 1, 1024LL * 1024 * 1024));
        } else if (arg == "--max-head-bytes") {
            options.maxHeadBytes = static_cast<std::size_t>(optionNumber(arg, value(), 256, 1024 * 1024));
        } else if (arg == "--max-header-fields") {
            options.maxHeaderFields = static_cast<std::size_t>(optionNumber(arg, value(), 1, 10000));
        } else if (arg == "--max-request-line") {
            options.maxRequestLine = static_cast<std::size_t>(optionNumber(arg, value(), 64, 1024 * 1024));
        } else {
            throw std::invalid_argument("opção desconhecida: '" + arg + "'.");
        }
    }
    if (options.database.empty())
        throw std::invalid_argument("falta --database ARQUIVO|URL.");
    // Off this machine anyone who can reach the port could read every contract: demand the secret.
    if (!options.help && !options.secret && !isLoopbackHost(options.host))
        throw std::invalid_argument(
            "recusado escutar em '" + options.host +
            "' sem --secret-file: fora do endereço local (127.0.0.1, [::1]) o servidor "
            "exige um segredo.");
    return options;
}

} // namespace server
