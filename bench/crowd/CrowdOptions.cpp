#include "CrowdOptions.h"

#include "TargetOption.h"

#include "server/ServerOptions.h"

#include <stdexcept>

namespace crowd {
namespace {

int number(const std::string& option, const std::string& text, int min, int max) {
    return static_cast<int>(server::optionNumber(option, text, min, max));
}

} // namespace

std::string crowdUsageText() {
    return "uso: restcont-crowd [opções]\n"
           "Abre N conexões TCP que nada enviam e M que enviam o cabeçalho de uma requisição um byte\n"
           "por vez, mantém-nas abertas (reabre as que o servidor fechar) e, enquanto isso, mede a\n"
           "latência das chamadas de um cliente legítimo: uma sessão e as chamadas da análise em\n"
           "sequência, sobre a filial 0001, serviço 002, março de 2026 da demonstração. O servidor é o\n"
           "restcont-server iniciado aqui numa porta livre de 127.0.0.1, ou o de --target.\n"
           "  --idle N                  conexões ociosas (padrão 1000)\n"
           "  --slow M                  conexões lentas (padrão 100)\n"
           "  --seconds S               duração das chamadas do cliente legítimo (padrão 25)\n"
           "  --byte-interval-ms MS     intervalo entre dois bytes de uma conexão lenta (padrão 1000)\n"
           "  --call-timeout S          espera máxima por cada resposta ao cliente legítimo; depois,\n"
           "                            erro (padrão 5)\n"
           "  --target MÁQUINA:PORTA    mede um servidor já em execução ([IPv6]:PORTA para IPv6), com a\n"
           "                            demonstração no banco e conexões para N + M + 1\n"
           "  --secret-file ARQUIVO     com --target: o segredo que o servidor exige (fora do endereço\n"
           "                            local), lido como o servidor lê o seu\n"
           "  --database ARQUIVO|URL    sem --target: banco com os dados de demonstração (padrão: gerado\n"
           "                            para a medida)\n"
           "  --help                    mostra este texto\n"
           "Saída: uma linha de tabela com as conexões abertas e a latência (mediana, p90, p99, máxima)\n"
           "das chamadas respondidas. Código de saída: 0 sem erros, 1 alguma chamada falhou, expirou ou\n"
           "nenhuma foi respondida, ou nem todas as conexões se abriram, 2 linha de comando inválida ou\n"
           "servidor não iniciado.\n";
}

CrowdOptions parseCrowdOptions(const std::vector<std::string>& args) {
    CrowdOptions options;
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
        if (arg == "--idle") {
            options.idle = number(arg, value(), 0, 100000);
        } else if (arg == "--slow") {
            options.slow = number(arg, value(), 0, 100000);
        } else if (arg == "--seconds") {
            options.seconds = number(arg, value(), 1, 3600);
        } else if (arg == "--byte-interval-ms") {
            options.byteIntervalMs = number(arg, value(), 10, 600000);
        } else if (arg == "--call-timeout") {
            options.callTimeoutSeconds = number(arg, value(), 1, 300);
        } else if (arg == "--target") {
            options.target = bench::parseTargetOption(value());
        } else if (arg == "--secret-file") {
            options.secret = bench::readSecretOption(value());
        } else if (arg == "--database") {
            options.database = value();
            if (options.database.empty())
                throw std::invalid_argument("valor vazio para --database.");
        } else {
            throw std::invalid_argument("opção desconhecida: '" + arg + "'.");
        }
    }
    bench::checkSecretNeedsTarget(!options.secret.empty(), options.target.has_value());
    if (options.target && !options.database.empty())
        throw std::invalid_argument("--target mede um servidor já iniciado: não combina com --database.");
    return options;
}

} // namespace crowd
