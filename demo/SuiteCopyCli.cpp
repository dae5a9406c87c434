#include "SuiteCopyCli.h"

#include "PostgresCopy.h"
#include "SuiteFile.h"
#include "server/store/DatabaseLocation.h"

#include "EmbeddedSchema.h"

#include <exception>

namespace demo {

int runSuiteCopy(const std::string& file, const std::string& url, std::ostream& out, std::ostream& err) {
    if (!server::isPostgresUrl(url)) {
        err << "Com --from, o destino (--out) deve ser um banco PostgreSQL: "
               "postgresql://USUÁRIO@MÁQUINA:PORTA/BANCO.\n";
        return 2;
    }
    CopySummary copied;
    try {
        copied = copyIntoPostgres(file, url, kEmbeddedSchemaSql);
    } catch (const std::exception& e) {
        err << "Banco não copiado: " << e.what() << "\n";
        return 1;
    }
    out << "Banco " << shownText(file, 300) << " copiado para " << server::maskedLocation(url) << ": "
        << copied.tables << " tabelas, " << copied.rows << (copied.rows == 1 ? " linha.\n" : " linhas.\n");
    if (!copied.ignored.empty()) {
        out << "Tabelas do arquivo fora do esquema, não copiadas:";
        for (const std::string& name : copied.ignored)
            out << " " << name;
        out << ".\n";
    }
    return 0;
}

} // namespace demo
