#include "DemoGenerator.h"

#include "ContractWriter.h"
#include "DemoCatalog.h"
#include "DemoDate.h"
#include "EmbeddedSchema.h"
#include "MenuWriter.h"
#include "PostgresCopy.h"
#include "SqlDatabase.h"

#include <stdexcept>
#include <unistd.h>

namespace demo {

namespace {

constexpr const char* kFirstDay = "2026-01-01";
constexpr const char* kLastDay = "2026-12-31";

void writeInto(const std::filesystem::path& file) {
    SqlDatabase db(file.string());
    // Durability is pointless here: a failed run throws the partial file away.
    db.exec("PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF;");
    db.exec("BEGIN");
    db.exec(kEmbeddedSchemaSql);
    writeCatalog(db);
    MenuWriter(db, kFirstDay, daysFromIso(kLastDay) - daysFromIso(kFirstDay) + 1).writeAll();
    ContractWriter(db, {kFirstDay, kLastDay, 12}, {"2026-03-01", "2026-03-31", 1}).writeAll();
    db.exec("COMMIT");
    // Rebuilding packs the pages the inserts left part-filled: about a tenth smaller to ship.
    db.exec("VACUUM");
}

} // namespace

void generateDemoDatabase(const std::filesystem::path& out) {
    if (out.empty())
        throw std::invalid_argument("Informe o arquivo de saída.");
    if (std::filesystem::exists(out))
        throw std::runtime_error("O arquivo " + out.string() + " já existe; remova-o ou escolha outro nome.");
    std::filesystem::path partial = out;
    partial += ".parcial";
    std::filesystem::remove(partial);
    try {
        writeInto(partial);
        std::filesystem::rename(partial, out);
    } catch (...) {
        std::error_code ignored;
        std::filesystem::remove(partial, ignored);
        throw;
    }
}

void generateDemoPostgres(const std::string& url) {
    // One generator for both engines: the PostgreSQL rows are the SQLite file's, copied.
    std::string pattern = (std::filesystem::temp_directory_path() / "restcont-demo-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("Não foi possível criar uma pasta temporária.");
    const std::filesystem::path folder = pattern;
    const struct Remover {
        std::filesystem::path folder;
        ~Remover() {
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        }
    } remover{folder};
    generateDemoDatabase(folder / "demo.db");
    copyIntoPostgres(folder / "demo.db", url, kEmbeddedSchemaSql);
}

} // namespace demo
