#include "check/CheckOptions.h"

#include "server/ServerOptions.h"

#include <stdexcept>

namespace check {

std::string checkUsage() {
    return "Uso: restcont-check --database ARQUIVO|URL [--server HOST:PORTA [--secret-file ARQUIVO]]\n"
           "                      --month AAAA-MM [--branch CODIGO]... [--service CODIGO]...\n"
           "                      [--format text|json|csv|html] [--out ARQUIVO] [--baseline ARQUIVO.json]\n"
           "                      [--contracts] [--strict] [--jobs N]\n"
           "Julga os cardápios do mês de cada serviço contra o contrato e diz por quê.\n"
           "Saída: 0 todos livres; 1 algum bloqueado (ou avisos com --strict, contradições com\n"
           "--contracts); 2 algo não pôde ser julgado.\n";
}

CheckOptions parseCheckOptions(const std::vector<std::string>& args) {
    CheckOptions options;
    std::optional<std::string> secretFile;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size())
                throw std::invalid_argument("a opção " + arg + " precisa de um valor.");
            return args[++i];
        };
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--database") {
            options.database = value();
        } else if (arg == "--server") {
            options.server = proto::parseHostPort(value());
        } else if (arg == "--secret-file") {
            secretFile = value();
        } else if (arg == "--month") {
            options.month = value();
        } else if (arg == "--branch") {
            options.branches.push_back(value());
        } else if (arg == "--service") {
            options.services.push_back(value());
        } else if (arg == "--format") {
            const std::string& format = value();
            if (format == "text")
                options.format = Format::Text;
            else if (format == "json")
                options.format = Format::Json;
            else if (format == "csv")
                options.format = Format::Csv;
            else if (format == "html")
                options.format = Format::Html;
            else
                throw std::invalid_argument("--format aceita text, json, csv ou html, não '" + format + "'.");
        } else if (arg == "--out") {
            options.out = value();
        } else if (arg == "--baseline") {
            options.baseline = value();
        } else if (arg == "--contracts") {
            options.contracts = true;
        } else if (arg == "--strict") {
            options.strict = true;
        } else if (arg == "--jobs") {
            options.jobs = static_cast<int>(server::optionNumber(arg, value(), 1, 256));
        } else {
            throw std::invalid_argument("opção desconhecida: '" + arg + "'.");
        }
    }
    if (options.help)
        return options;
    if (options.database.empty())
        throw std::invalid_argument("falta --database: o banco de dados das filiais e dos contratos.");
    if (options.month.empty())
        throw std::invalid_argument("falta --month AAAA-MM.");
    if (secretFile && !options.server)
        throw std::invalid_argument("--secret-file só vale com --server.");
    if (secretFile)
        options.secret = server::readSecretFile(*secretFile);
    return options;
}

} // namespace check
