#include "DemoCli.h"

#include "DemoGenerator.h"
#include "DemoRoles.h"
#include "ShapeOptions.h"
#include "SuiteCopyCli.h"
#include "server/store/DatabaseLocation.h"

#include <exception>

namespace demo {

int runDemoCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string file, from;
    ShapeOptions shape;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            out << demoSummary();
            return 0;
        }
        if (arg == "--out" && i + 1 < args.size() && file.empty()) {
            file = args[++i];
            continue;
        }
        if (arg.rfind("--out=", 0) == 0 && file.empty()) {
            file = arg.substr(6);
            continue;
        }
        if (arg == "--from" && i + 1 < args.size() && from.empty()) {
            from = args[++i];
            continue;
        }
        try {
            if (shape.take(args, i))
                continue;
        } catch (const std::invalid_argument& e) {
            err << "Argumento inválido: " << e.what() << "\n" << demoSummary();
            return 2;
        }
        err << "Argumento inválido: " << arg << "\n" << demoSummary();
        return 2;
    }
    if (file.empty()) {
        err << "Falta o argumento --out ARQUIVO|URL.\n" << demoSummary();
        return 2;
    }
    if (!from.empty() && shape.requested()) {
        err << "Argumento inválido: --from copia um banco como ele é e não se combina com --branches "
               "nem com --months.\n"
            << demoSummary();
        return 2;
    }
    if (!from.empty())
        return runSuiteCopy(from, file, out, err);
    try {
        const DemoShape asked = shape.requested() ? shape.shape() : standardShape();
        if (server::isPostgresUrl(file))
            generateDemoPostgres(file, asked);
        else
            generateDemoDatabase(file, asked);
    } catch (const std::exception& e) {
        err << "Banco de demonstração não gerado: " << e.what() << "\n";
        return 1;
    }
    out << "Banco de demonstração gravado em " << server::maskedLocation(file) << "\n";
    return 0;
}

} // namespace demo
