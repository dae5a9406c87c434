#include "BenchDatabase.h"

#include <sqlite3.h>

#include <cstdio>
#include <stdexcept>
#include <unistd.h>
#include <vector>

namespace {

void exec(sqlite3* db, const std::string& sql) {
    char* message = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string text = message ? message : "?";
        sqlite3_free(message);
        throw std::runtime_error("bench database: " + text);
    }
}

// A small deterministic generator, so every run measures the same data.
struct Lcg {
    unsigned long long state;
    unsigned next(unsigned bound) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<unsigned>((state >> 33) % bound);
    }
};

std::string code(const char* prefix, int n) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%s%04d", prefix, n);
    return buffer;
}

std::string day(int month, int dayOfMonth) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "2026-%02d-%02d", month, dayOfMonth);
    return buffer;
}

} // namespace

BenchDatabase::BenchDatabase(const std::string& schemaSql, int scale) {
    folder_ = std::filesystem::temp_directory_path() /
              ("restcont-bench-" + std::to_string(::getpid()) + "-" + std::to_string(scale));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    path_ = folder_ / "bench.db";
    sqlite3* db = nullptr;
    if (sqlite3_open(path_.c_str(), &db) != SQLITE_OK)
        throw std::runtime_error("cannot create the bench database");
    exec(db, schemaSql);
    exec(db, "BEGIN");

    const int dishes = 40 * scale, dishGroups = 8 * scale, products = 60 * scale, productGroups = 10 * scale;
    exec(db, "INSERT INTO FILIAL VALUES ('0001', 'Filial de Medida', 'N', '2026-03-01')");
    exec(db, "INSERT INTO SERVFILI VALUES ('0001', '001', 'Almoço')");
    exec(db,
         "INSERT INTO TIPOPRAT VALUES ('PP', 'Prato principal'), ('GU', 'Guarnição'), ('SB', 'Sobremesa')");
    for (int g = 0; g < dishGroups; ++g)
        exec(db, "INSERT INTO PRATO VALUES ('" + code("G", g) + "', 'Grupo de pratos " + std::to_string(g) +
                     "', 'S', NULL)");
    for (int d = 0; d < dishes; ++d)
        exec(db, "INSERT INTO PRATO VALUES ('" + code("D", d) + "', 'Prato " + std::to_string(d) +
                     "', 'N', '" + code("G", d % dishGroups) + "')");
    for (int g = 0; g < productGroups; ++g)
        exec(db, "INSERT INTO PRODUTO VALUES ('" + code("H", g) + "', 'Grupo de produtos " +
                     std::to_string(g) + "', 'KG', '1." + std::to_string(g) + "', 'S', NULL)");
    for (int p = 0; p < products; ++p)
        exec(db, "INSERT INTO PRODUTO VALUES ('" + code("P", p) + "', 'Produto " + std::to_string(p) +
                     "', 'KG', '1." + std::to_string(p % productGroups) + "." + std::to_string(p) +
                     "', 'N', '" + code("H", p % productGroups) + "')");
    for (int n = 0; n < 10; ++n)
        exec(db, "INSERT INTO NUTRIENTE VALUES ('" + std::string("N") + std::to_string(n) + "', 'Nutriente " +
                     std::to_string(n) + "', 'MG')");

    Lcg random{20260301};
    sqlite3_stmt* item = nullptr;
    sqlite3_stmt* line = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO CARDAPIO VALUES ('0001', '001', ?, ?, ?, ?, ?, ?)", -1, &item,
                       nullptr);
    sqlite3_prepare_v2(db, "INSERT INTO PRODCARD VALUES ('0001', '001', ?, ?, ?, ?)", -1, &line, nullptr);
    const char* types[] = {"PP", "GU", "SB"};
    // The week span of March 2026 reaches from 23 February to 5 April.
    std::vector<std::string> days;
    for (int d = 23; d <= 28; ++d)
        days.push_back(day(2, d));
    for (int d = 1; d <= 31; ++d)
        days.push_back(day(3, d));
    for (int d = 1; d <= 5; ++d)
        days.push_back(day(4, d));
    for (const std::string& date : days) {
        for (int seq = 1; seq <= 8 * scale; ++seq) {
            sqlite3_reset(item);
            sqlite3_bind_text(item, 1, date.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int(item, 2, seq);
            const std::string dish = code("D", static_cast<int>(random.next(static_cast<unsigned>(dishes))));
            sqlite3_bind_text(item, 3, dish.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(item, 4, types[seq % 3], -1, SQLITE_STATIC);
            sqlite3_bind_text(item, 5, seq % 4 == 0 ? "S" : "N", -1, SQLITE_STATIC);
            sqlite3_bind_int(item, 6, (seq - 1) % 8 + 1);
            sqlite3_step(item);
            ++items_;
            for (int k = 0; k < 4; ++k) {
                sqlite3_reset(line);
                sqlite3_bind_text(line, 1, date.c_str(), -1, SQLITE_TRANSIENT);
                sqlite3_bind_int(line, 2, seq);
                const std::string product =
                    code("P", (seq * 7 + k * 13 + static_cast<int>(random.next(5))) % products);
                sqlite3_bind_text(line, 3, product.c_str(), -1, SQLITE_TRANSIENT);
                sqlite3_bind_double(line, 4, 0.05 * (1 + random.next(8)));
                if (sqlite3_step(line) == SQLITE_DONE)
                    ++lines_;
            }
        }
        for (int n = 0; n < 10; ++n)
            exec(db, "INSERT INTO NUTRCARD VALUES ('0001', '001', '" + date + "', 'N" + std::to_string(n) +
                         "', " + std::to_string(50 + random.next(200)) + ")");
    }
    sqlite3_finalize(item);
    sqlite3_finalize(line);

    // Restrictions: ten of each kind per unit of scale, tight enough to be broken.
    for (int r = 0; r < 10 * scale; ++r) {
        const std::string dish = r % 2 == 0 ? code("G", r % dishGroups) : code("D", r % dishes);
        const std::string product = r % 2 == 0 ? code("H", r % productGroups) : code("P", r % products);
        const std::string service = "'0001', '001', ";
        exec(db, "INSERT OR IGNORE INTO CTRFREQPRAT VALUES (" + service + "'" + dish + "', 'N', 1, 2, 3)");
        exec(db, "INSERT OR IGNORE INTO CTRFREQPRAT VALUES (" + service + "'" + dish + "', 'S', 1, 2, 3)");
        exec(db, "INSERT OR IGNORE INTO CTRRESTPRAT VALUES (" + service + "'" + dish + "', 'N')");
        exec(db, "INSERT OR IGNORE INTO CTRRESTPRAT VALUES (" + service + "'" + dish + "', 'S')");
        exec(db, "INSERT OR IGNORE INTO CTRUTILPRAT VALUES (" + service + "'" + dish +
                     "', 'S', 'S', 'S', 'S', 'S', 'N', 'N')");
        exec(db, "INSERT OR IGNORE INTO CTRRESTPROD VALUES (" + service + "'" + product + "')");
        exec(db, "INSERT OR IGNORE INTO CTRLIMSERV VALUES (" + service + "'" + product + "', 0.1, 0.3)");
        exec(db, "INSERT OR IGNORE INTO CTRLIMPRAT VALUES (" + service + "'" + dish + "', '" + product +
                     "', 0.1, 0.2)");
        exec(db, "INSERT OR IGNORE INTO CTRLIMNUTR VALUES (" + service + "'N" + std::to_string(r % 10) +
                     "', 80, 200)");
    }
    exec(db, "COMMIT");
    sqlite3_close(db);
}

BenchDatabase::~BenchDatabase() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}
