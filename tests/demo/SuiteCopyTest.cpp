#include "DemoCli.h"
#include "GeneratedDemo.h"
#include "PostgresCluster.h"
#include "TableRows.h"
#include "TestDatabase.h"

#include "server/store/Database.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

struct CliRun {
    int code;
    std::string out, err;
};

CliRun copy(const std::filesystem::path& from, const std::string& url) {
    std::ostringstream out, err;
    const int code = demo::runDemoCli({"--from", from.string(), "--out", url}, out, err);
    return {code, out.str(), err.str()};
}

std::string bytesOf(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Whether a database holds any relation of its own: a refused copy must leave none behind.
bool holdsNothing(const std::string& url) {
    server::Database db(url);
    std::string count;
    db.query("SELECT count(*) FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace "
             "WHERE n.nspname = 'public'",
             {}, [&](const server::SqlRow& row) { count = row.text(0); });
    return count == "0";
}

std::string freshDatabase() {
    return PostgresCluster::shared().url(PostgresCluster::shared().createDatabase());
}

TEST(SuiteCopy, TheDemoFileArrivesRowForRowInEveryTableAndIsLeftUntouched) {
    // A copy of the cached demo, so that its folder holds nothing else: a journal or WAL left by the
    // copy would show up there.
    const TempFolder folder;
    const auto file = folder.path() / "suite.db";
    std::filesystem::copy_file(generatedDemo(), file);
    const std::string before = bytesOf(file);
    const std::string url = freshDatabase();

    const CliRun r = copy(file, url);
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("copiado para " + url + ": 17 tabelas"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("fora do esquema"), std::string::npos) << r.out;

    const std::vector<std::string> tables = ReadOnlyDb(file).tables();
    ASSERT_EQ(tables.size(), 17u);
    for (const std::string& table : tables) {
        const std::vector<bool> reals = realColumns(file, table);
        const auto expected = rowsOf(file.string(), table, reals);
        EXPECT_FALSE(expected.empty()) << table;
        EXPECT_TRUE(rowsOf(url, table, reals) == expected) << table;
    }
    EXPECT_EQ(bytesOf(file), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

TEST(SuiteCopy, ANonEmptyTargetIsRefusedBeforeAnythingIsWritten) {
    PostgresCluster& cluster = PostgresCluster::shared();
    const std::string name = cluster.createDatabase("CREATE SCHEMA outro; CREATE SEQUENCE outro.contador");
    const CliRun r = copy(generatedDemo(), cluster.url(name));
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("não está vazio: já tem a sequência outro.contador"), std::string::npos) << r.err;
    EXPECT_TRUE(holdsNothing(cluster.url(name)));
}

TEST(SuiteCopy, TablesOutsideTheSchemaAreNamedAndLeftBehind) {
    TestDatabase db;
    db.exec("INSERT INTO FILIAL VALUES ('0001', 'Matriz', 'N', '2026-03-15');"
            "CREATE TABLE RASCUNHO (X INTEGER); CREATE TABLE \"LINHA\nFALSA\" (X INTEGER)");
    const std::string url = freshDatabase();
    const CliRun r = copy(db.path(), url);
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("17 tabelas, 1 linha."), std::string::npos) << r.out;
    // A name from the file cannot start a line of its own in the output.
    EXPECT_NE(r.out.find("fora do esquema, não copiadas: LINHA?FALSA RASCUNHO."), std::string::npos) << r.out;
    EXPECT_EQ(rowsOf(url, "FILIAL", {false, false, false, false}),
              (std::vector<std::string>{"'0001'|'Matriz'|'N'|'2026-03-15'|"}));
}

// A file that is not what it claims, and what the refusal must name.
struct Broken {
    const char* name;
    // Statements run on a fresh file in the suite's schema (empty: the file is `bytes` instead, or a
    // folder when those are null).
    std::string sql;
    const char* bytes;
    std::vector<std::string> named;
};

// What ctest lists for a case.
void PrintTo(const Broken& broken, std::ostream* out) {
    *out << broken.name;
}

// FILIAL without its declared types, so that SQLite keeps whatever a foreign program stored in it,
// holding these rows.
std::string looseFilial(const std::string& rows) {
    return "DROP TABLE FILIAL; CREATE TABLE FILIAL (CDFILIAL, NMFILIAL, IDCONTRRESC, DTPROCESSO);"
           "INSERT INTO FILIAL VALUES " +
           rows;
}

class SuiteCopyRefuses : public testing::TestWithParam<Broken> {};

TEST_P(SuiteCopyRefuses, NamingWhatFailedAndLeavingTheTargetEmpty) {
    const Broken& broken = GetParam();
    TestDatabase db;
    std::filesystem::path file = db.path();
    const TempFolder folder;
    if (!broken.sql.empty()) {
        db.exec(broken.sql);
    } else {
        file = folder.path() / "arquivo.db";
        if (broken.bytes)
            std::ofstream(file, std::ios::binary) << broken.bytes;
        else
            std::filesystem::create_directory(file);
    }
    const std::string url = freshDatabase();
    const CliRun r = copy(file, url);
    EXPECT_EQ(r.code, 1) << r.out;
    EXPECT_EQ(r.err.rfind("Banco não copiado: ", 0), 0u) << r.err;
    for (const std::string& part : broken.named)
        EXPECT_NE(r.err.find(part), std::string::npos) << "falta \"" << part << "\" em: " << r.err;
    EXPECT_TRUE(holdsNothing(url));
}

INSTANTIATE_TEST_SUITE_P(
    Files, SuiteCopyRefuses,
    testing::Values(
        Broken{"Text", "", "isto não é um banco de dados, só texto\n", {"não é um banco SQLite legível"}},
        Broken{"Folder", "", nullptr, {"arquivo.db não é um arquivo comum"}},
        Broken{"MissingTable", "DROP TABLE NUTRCARD", nullptr, {"não tem a tabela NUTRCARD"}},
        Broken{"ViewForTable",
               "DROP TABLE TIPOPRAT; CREATE VIEW TIPOPRAT AS SELECT 'A' AS CDTIPOPRAT, 'B' AS NMTIPOPRAT",
               nullptr,
               {"TIPOPRAT não é uma tabela"}},
        Broken{"MissingColumn",
               "DROP TABLE NUTRIENTE; CREATE TABLE NUTRIENTE (CDNUTRIENTE TEXT, NMNUTRIENTE TEXT)",
               nullptr,
               {"tabela NUTRIENTE", "não tem a coluna SGUNIDADE"}},
        Broken{"CodeStoredAsNumber",
               looseFilial("('0001', 'Matriz', 'N', '2026-03-15'), (2, 'B', 'N', '2026-03-15')"),
               nullptr,
               {"linha 2 da tabela FILIAL (CDFILIAL 2), coluna CDFILIAL: número onde se espera texto"}},
        Broken{"DateInAnotherForm",
               looseFilial("('0001', 'Matriz', 'N', '2026-03-15'), ('0002', 'B', 'N', 'today')"),
               nullptr,
               {"linha 2 da tabela FILIAL (CDFILIAL 0002), coluna DTPROCESSO: data fora do formato"}},
        Broken{"OverlongText",
               looseFilial("('0001', printf('%.2000c', 'x'), 'N', '2026-03-15')"),
               nullptr,
               {"linha 1 da tabela FILIAL (CDFILIAL 0001), coluna NMFILIAL: texto de 2000 bytes"}},
        Broken{"HugeValue",
               "DROP TABLE TIPOPRAT; CREATE TABLE TIPOPRAT (CDTIPOPRAT, NMTIPOPRAT);"
               "INSERT INTO TIPOPRAT VALUES ('PP', 'Prato'), ('SM', printf('%.5000000c', 'x'))",
               nullptr,
               {"Falha ao ler a linha 2 da tabela TIPOPRAT do arquivo", "too big"}},
        Broken{"BinaryValue",
               "DROP TABLE TIPOPRAT; CREATE TABLE TIPOPRAT (CDTIPOPRAT, NMTIPOPRAT);"
               "INSERT INTO TIPOPRAT VALUES ('PP', x'00ff')",
               nullptr,
               {"linha 1 da tabela TIPOPRAT (CDTIPOPRAT PP), coluna NMTIPOPRAT: valor binário"}},
        Broken{
            "InfiniteQuantity",
            "DROP TABLE NUTRCARD; CREATE TABLE NUTRCARD (CDFILIAL, CDSERVFILI, DTCARDAPIO, CDNUTRIENTE, "
            "QTNUTRIENTE); INSERT INTO NUTRCARD VALUES ('0001', '001', '2026-03-02', 'KCL', 9e999)",
            nullptr,
            {"(CDFILIAL 0001, CDSERVFILI 001, DTCARDAPIO 2026-03-02, CDNUTRIENTE KCL), coluna QTNUTRIENTE: "
             "número não finito"}},
        Broken{"FractionInACount",
               "DROP TABLE CARDAPIO; CREATE TABLE CARDAPIO (CDFILIAL, CDSERVFILI, DTCARDAPIO, NRSEQPRATCAR, "
               "CDPRATO, CDTIPOPRAT, IDOPCCNFMES, NRORDPRATCAR);"
               "INSERT INTO CARDAPIO VALUES ('0001', '001', '2026-03-02', 1, 'P1', 'PP', 'N', 1.5)",
               nullptr,
               {"coluna NRORDPRATCAR: número não inteiro"}},
        // What only PostgreSQL checks comes back with the row it was on.
        Broken{"FlagOutsideItsValues",
               looseFilial("('0001', 'A', 'N', '2026-03-15'), ('0002', 'B', 'N', '2026-03-15'),"
                           "('0003', 'C', 'X', '2026-03-15')"),
               nullptr,
               {"recusou a linha 3 da tabela FILIAL (CDFILIAL 0003) do arquivo", "idcontrresc"}},
        Broken{"DayOutsideTheCalendar",
               looseFilial("('0001', 'A', 'N', '2026-02-30')"),
               nullptr,
               {"recusou a linha 1 da tabela FILIAL (CDFILIAL 0001)", "2026-02-30"}},
        Broken{"RepeatedKey",
               looseFilial("('0001', 'A', 'N', '2026-03-15'), ('0001', 'B', 'N', '2026-03-15')"),
               nullptr,
               {"recusou a linha 2 da tabela FILIAL (CDFILIAL 0001)"}},
        Broken{"InvalidUtf8",
               looseFilial("('0001', CAST(x'41ff42' AS TEXT), 'N', '2026-03-15')"),
               nullptr,
               {"recusou a linha 1 da tabela FILIAL (CDFILIAL 0001)"}}),
    [](const testing::TestParamInfo<Broken>& param) { return std::string(param.param.name); });

} // namespace
