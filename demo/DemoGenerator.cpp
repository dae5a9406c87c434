#include "DemoGenerator.h"

#include "ContractWriter.h"
#include "DemoCatalog.h"
#include "DemoDate.h"
#include "DemoShape.h"
#include "EmbeddedSchema.h"
#include "MenuWriter.h"
#include "PostgresCopy.h"
#include "SqlDatabase.h"

#include <stdexcept>
#include <unistd.h>

namespace demo {

namespace {

std::string firstDayOf(const std::string& month) {
    return month + "-01";
}

std::string lastDayOf(const std::string& month) {
    // The 28th is in the month whatever its length; the first day past it is a week or less later.
    int day = daysFromIso(month + "-28");
    while (isoFromDays(day + 1).compare(0, 7, month) == 0)
        ++day;
    return isoFromDays(day);
}

bool follows(const std::string& month, const std::string& previous) {
    return daysFromIso(firstDayOf(month)) == daysFromIso(lastDayOf(previous)) + 1;
}

// Menus for each run of consecutive months, so that a year is written as one span as it always was.
void writeMenus(SqlDatabase& db, const DemoShape& shape) {
    std::size_t run = 0;
    for (std::size_t i = 1; i <= shape.months.size(); ++i) {
        if (i < shape.months.size() && follows(shape.months[i], shape.months[i - 1]))
            continue;
        const std::string first = firstDayOf(shape.months[run]);
        const int days = daysFromIso(lastDayOf(shape.months[i - 1])) - daysFromIso(first) + 1;
        MenuWriter(db, first, days).writeAll(shape.branches);
        run = i;
    }
}

void writeInto(const std::filesystem::path& file, const DemoShape& shape) {
    SqlDatabase db(file.string());
    // Durability is pointless here: a failed run throws the partial file away.
    db.exec("PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF;");
    db.exec("BEGIN");
    db.exec(kEmbeddedSchemaSql);
    writeCatalog(db, shape.branches);
    writeMenus(db, shape);
    const int months = static_cast<int>(shape.months.size());
    ContractWriter(db, {firstDayOf(shape.months.front()), lastDayOf(shape.months.back()), months},
                   {firstDayOf(shape.contractMonth), lastDayOf(shape.contractMonth), 1})
        .writeAll(shape.roles);
    db.exec("COMMIT");
    // Rebuilding packs the pages the inserts left part-filled: about a tenth smaller to ship.
    db.exec("VACUUM");
}

} // namespace

void generateDemoDatabase(const std::filesystem::path& out) {
    generateDemoDatabase(out, standardShape());
}

void generateDemoDatabase(const std::filesystem::path& out, const DemoShape& shape) {
    if (out.empty())
        throw std::invalid_argument("Informe o arquivo de saída.");
    if (std::filesystem::exists(out))
        throw std::runtime_error("O arquivo " + out.string() + " já existe; remova-o ou escolha outro nome.");
    std::filesystem::path partial = out;
    partial += ".parcial";
    std::filesystem::remove(partial);
    try {
        writeInto(partial, shape);
        std::filesystem::rename(partial, out);
    } catch (...) {
        std::error_code ignored;
        std::filesystem::remove(partial, ignored);
        throw;
    }
}

void generateDemoPostgres(const std::string& url) {
    generateDemoPostgres(url, standardShape());
}

void generateDemoPostgres(const std::string& url, const DemoShape& shape) {
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
    generateDemoDatabase(folder / "demo.db", shape);
    copyIntoPostgres(folder / "demo.db", url, kEmbeddedSchemaSql);
}

} // namespace demo
