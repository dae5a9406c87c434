#include "LoadOptions.h"

#include "TargetOption.h"

#include "server/ServerOptions.h"

#include <sstream>
#include <stdexcept>

namespace load {
namespace {

int number(const std::string& option, const std::string& text, int min, int max) {
    return static_cast<int>(server::optionNumber(option, text, min, max));
}

// The server refuses sessions past its limit and keeps one thread per connection: a thousand is
// far above anything two cores can drive.
constexpr int kMaxSessions = 1000;

std::vector<int> sessionCounts(const std::string& text) {
    std::vector<int> counts;
    std::stringstream list(text);
    std::string item;
    while (std::getline(list, item, ','))
        counts.push_back(number("--sessions", item, 1, kMaxSessions));
    if (counts.empty() || text.back() == ',')
        throw std::invalid_argument("valor inválido para --sessions: '" + text +
                                    "' (esperada uma lista como 1,8,64).");
    return counts;
}

bool isPostgresUrl(const std::string& database) {
    return database.rfind("postgresql://", 0) == 0 || database.rfind("postgres://", 0) == 0;
}

} // namespace

const char* engineName(Engine engine) {
    return engine == Engine::Postgresql ? "postgresql" : "sqlite";
}

std::string loadUsageText() {
    return "uso: restcont-load [opções]\n"
           "Abre N sessões no restcont-server (iniciado aqui numa porta livre de 127.0.0.1, ou o de\n"
           "--target) e faz M chamadas da análise em cada uma, todas ao mesmo tempo, sobre a filial 0001,\n"
           "serviço 002, março de 2026 do banco de demonstração; mede chamadas por segundo, latência e\n"
           "memória. Só contam as chamadas respondidas.\n"
           "  --sessions N[,N...]       sessões simultâneas de cada configuração (padrão 1,8,64)\n"
           "  --sessions URL            o servidor iniciado aqui guarda as sessões nesse banco\n"
           "                            PostgreSQL (postgresql://...), como vários servidores as dividem\n"
           "  --calls M                 chamadas por sessão (padrão 460, vinte análises)\n"
           "  --rounds R                repete a carga R vezes sobre o mesmo servidor e mede o VmRSS\n"
           "                            após cada rodada (crescimento da segunda à última)\n"
           "  --abandon                 com --rounds: não fecha as sessões; o servidor as descarta\n"
           "                            com --session-idle 1\n"
           "  --database ARQUIVO|URL    banco com os dados de demonstração (padrão: gerado para a\n"
           "                            medida); postgresql://... mede o PostgreSQL\n"
           "  --engine sqlite|postgresql  motor do banco gerado (padrão sqlite); postgresql inicia um\n"
           "                            cluster temporário em 127.0.0.1 e carrega nele a demonstração\n"
           "  --target MÁQUINA:PORTA    mede um servidor já em execução ([IPv6]:PORTA para IPv6), com a\n"
           "                            demonstração no banco e sessões e threads para N: nenhum servidor\n"
           "                            nem banco é iniciado aqui, e a memória dele não é medida (não\n"
           "                            combina com --database, --engine nem --rounds)\n"
           "  --secret-file ARQUIVO     com --target: o segredo que o servidor exige (fora do endereço\n"
           "                            local), lido como o servidor lê o seu\n"
           "  --help                    mostra este texto\n"
           "Saída: uma linha de tabela por configuração. Código de saída: 0 sem erros, 1 alguma\n"
           "chamada falhou ou o servidor terminou ou deixou de responder (a medida para ali), 2 linha\n"
           "de comando inválida ou servidor não iniciado.\n";
}

LoadOptions parseLoadOptions(const std::vector<std::string>& args) {
    LoadOptions options;
    bool engineGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        std::string inlineValue;
        bool hasInline = false;
        if (const auto equals = arg.find('='); arg.rfind("--", 0) == 0 && equals != std::string::npos) {
            inlineValue = arg.substr(equals + 1);
            arg = arg.substr(0, equals);
            hasInline = true;
        }
        if (arg == "--help" || arg == "-h") {
            options.help = true;
            return options;
        }
        const auto value = [&]() -> std::string {
            if (hasInline)
                return inlineValue;
            if (i + 1 >= args.size())
                throw std::invalid_argument("falta o valor de " + arg + ".");
            return args[++i];
        };
        if (arg == "--sessions") {
            // One option for both: a URL names where the sessions are kept, numbers how many.
            const std::string given = value();
            if (isPostgresUrl(given))
                options.sessionsUrl = given;
            else
                options.sessions = sessionCounts(given);
        } else if (arg == "--calls") {
            options.calls = number(arg, value(), 1, 10'000'000);
        } else if (arg == "--rounds") {
            options.rounds = number(arg, value(), 1, 100'000);
        } else if (arg == "--abandon" && !hasInline) {
            options.abandon = true;
        } else if (arg == "--database") {
            options.database = value();
            if (options.database.empty())
                throw std::invalid_argument("valor vazio para --database.");
        } else if (arg == "--target") {
            options.target = bench::parseTargetOption(value());
        } else if (arg == "--secret-file") {
            options.secret = bench::readSecretOption(value());
        } else if (arg == "--engine") {
            const std::string engine = value();
            if (engine == "sqlite")
                options.engine = Engine::Sqlite;
            else if (engine == "postgresql")
                options.engine = Engine::Postgresql;
            else
                throw std::invalid_argument("valor inválido para --engine: '" + engine +
                                            "' (use sqlite ou postgresql).");
            engineGiven = true;
        } else {
            throw std::invalid_argument("opção desconhecida: '" + args[i] + "'.");
        }
    }
    bench::checkSecretNeedsTarget(!options.secret.empty(), options.target.has_value());
    if (options.abandon && options.rounds == 0)
        throw std::invalid_argument("--abandon só vale com --rounds R.");
    // The server measured elsewhere has its own database, and its memory is not ours to read.
    if (options.target &&
        (engineGiven || !options.database.empty() || options.rounds > 0 || options.sessionsUrl))
        throw std::invalid_argument("--target mede um servidor já iniciado: não combina com --database, "
                                    "--engine, --rounds nem --sessions URL.");
    if (!options.database.empty()) {
        const Engine named = isPostgresUrl(options.database) ? Engine::Postgresql : Engine::Sqlite;
        if (engineGiven && named != options.engine)
            throw std::invalid_argument(std::string("--engine ") + engineName(options.engine) +
                                        " contradiz o banco '" + options.database + "'.");
        options.engine = named;
    }
    return options;
}

} // namespace load
