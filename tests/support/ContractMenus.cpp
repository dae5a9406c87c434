#include "ContractMenus.h"

#include <cstdio>

namespace {

std::string keyOf(const std::string& service) {
    return "'0001', '" + service + "'";
}

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

} // namespace

std::string contractCatalogueSql() {
    return R"(
        INSERT INTO FILIAL VALUES ('0001', 'Hospital Central', 'N', '2026-03-10'),
                                  ('0002', 'Escola Norte', 'N', '2026-03-10');
        INSERT INTO OPERFILI VALUES ('TESTE', '0001'), ('TESTE', '0002');
        INSERT INTO TIPOPRAT VALUES ('PP', 'Prato principal'), ('SB', 'Sobremesa');
        INSERT INTO PRATO VALUES ('abc123', ' Arroz ', 'N', NULL), ('def456', 'Pudim', 'N', NULL);
        INSERT INTO PRODUTO VALUES ('x1y2z3', 'Azeite', 'L', 'pq9876', 'N', NULL),
                                   ('uv5432', 'Sal', 'KG', 'rs1111', 'N', NULL);
        INSERT INTO NUTRIENTE VALUES ('N1', 'Cálcio', 'MG'), ('N2', 'Sódio', 'MG');
    )";
}

std::string infringingServiceSql(const std::string& service, const std::string& name,
                                 const std::set<int>& positions) {
    const auto has = [&](int position) { return positions.count(position) > 0; };
    const std::string key = keyOf(service);
    std::string sql = "INSERT INTO SERVFILI VALUES (" + key + ", '" + name + "');";
    for (const char* day : {"2026-03-02", "2026-03-03"})
        sql += "INSERT INTO CARDAPIO VALUES (" + key + ", '" + day + "', 1, 'abc123', 'PP', 'N', 1), (" +
               key + ", '" + day + "', 2, 'def456', 'SB', 'S', 2);";
    sql += "INSERT INTO PRODCARD VALUES (" + key + ", '2026-03-02', 1, 'x1y2z3', 2);";
    sql += "INSERT INTO NUTRCARD VALUES (" + key + ", '2026-03-02', 'N1', 10);";
    // Two items a week and two a month: a limit of one is passed.
    const auto frequency = [&](const char* dish, const char* option, int week, int month) {
        if (has(week) || has(month))
            sql += "INSERT INTO CTRFREQPRAT VALUES (" + key + ", '" + dish + "', '" + option + "', " +
                   (has(week) ? "1" : "NULL") + ", NULL, " + (has(month) ? "1" : "NULL") + ");";
    };
    frequency("abc123", "N", 1, 2);
    frequency("def456", "S", 3, 4);
    if (has(5))
        sql += "INSERT INTO CTRRESTPRAT VALUES (" + key + ", 'abc123', 'N');";
    if (has(6))
        sql += "INSERT INTO CTRRESTPRAT VALUES (" + key + ", 'def456', 'S');";
    if (has(7))
        sql += "INSERT INTO CTRUTILPRAT VALUES (" + key + ", 'abc123', 'N', 'N', 'N', 'N', 'N', 'N', 'N');";
    if (has(8))
        sql += "INSERT INTO CTRLIMNUTR VALUES (" + key + ", 'N1', 20, NULL);";
    if (has(9))
        sql += "INSERT INTO CTRLIMPRAT VALUES (" + key + ", 'abc123', 'x1y2z3', 5, NULL);";
    if (has(10))
        sql += "INSERT INTO CTRLIMSERV VALUES (" + key + ", 'x1y2z3', 5, NULL);";
    if (has(11))
        sql += "INSERT INTO CTRRESTPROD VALUES (" + key + ", 'x1y2z3');";
    return sql;
}

std::string limitServiceSql(const std::string& service) {
    const std::string key = keyOf(service);
    std::string sql = "INSERT INTO SERVFILI VALUES (" + key + ", 'Limites');";
    struct Day {
        const char* date;
        const char* product;
        const char* nutrient;
        double value;
    };
    const Day days[] = {{"2026-03-02", "x1y2z3", "N1", 0.5},
                        {"2026-03-03", "x1y2z3", "N1", 3},
                        {"2026-03-04", "x1y2z3", "N1", 6},
                        {"2026-03-05", "uv5432", "N2", 3},
                        {"2026-03-06", "uv5432", "N2", 6}};
    for (const Day& d : days) {
        const std::string at = key + ", '" + d.date + "'";
        sql += "INSERT INTO CARDAPIO VALUES (" + at + ", 1, 'abc123', 'PP', 'N', 1);";
        sql += "INSERT INTO PRODCARD VALUES (" + at + ", 1, '" + d.product + "', " + number(d.value) + ");";
        sql += "INSERT INTO NUTRCARD VALUES (" + at + ", '" + d.nutrient + "', " + number(d.value) + ");";
    }
    sql += "INSERT INTO CTRLIMSERV VALUES (" + key + ", 'x1y2z3', 1, 5), (" + key + ", 'uv5432', NULL, 5);";
    sql += "INSERT INTO CTRLIMPRAT VALUES (" + key + ", 'abc123', 'x1y2z3', 1, 5), (" + key +
           ", 'abc123', 'uv5432', NULL, 5);";
    sql += "INSERT INTO CTRLIMNUTR VALUES (" + key + ", 'N1', 1, 5), (" + key + ", 'N2', NULL, 5);";
    return sql;
}
