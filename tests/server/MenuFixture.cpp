#include "MenuFixture.h"

#include <cstdio>

const char* catalogueSql() {
    return R"(
        INSERT INTO FILIAL VALUES ('0001', 'Filial Centro', 'N', '2026-03-01');
        INSERT INTO SERVFILI VALUES ('0001', '002', 'Jantar'), ('0001', '001', 'Almoço'),
                                    ('0002', '001', 'Café');
        INSERT INTO TIPOPRAT VALUES ('PP', 'Prato principal'), ('SB', 'Sobremesa');
        INSERT INTO PRATO VALUES ('G1', 'Grupo Carnes', 'S', NULL), ('D1', 'Bife', 'N', 'G1'),
            ('D2', 'Frango', 'N', 'G1'), ('D3', 'Arroz', 'N', NULL), ('D4', 'Ébano', 'N', NULL),
            ('D5', 'Zeta', 'N', NULL);
        INSERT INTO PRODUTO VALUES ('PG', 'Grupo Óleos', 'L', '9.9', 'S', NULL),
            ('P1', 'Azeite', 'L', '9.9.1', 'N', 'PG'), ('P2', 'Óleo de soja', 'L', '9.9.2', 'N', 'PG'),
            ('P3', 'Sal', 'KG', '7.1', 'N', NULL);
        INSERT INTO NUTRIENTE VALUES ('N1', 'Sódio', 'MG'), ('N2', 'Cálcio', 'MG');
    )";
}

MenuFixture::MenuFixture() {
    db_.exec(catalogueSql());
}

void MenuFixture::item(const std::string& day, int seq, const std::string& dish, bool option, int order,
                       const std::string& service) {
    db_.exec("INSERT INTO CARDAPIO VALUES ('0001', '" + service + "', '" + day + "', " + std::to_string(seq) +
             ", '" + dish + "', 'PP', '" + (option ? "S" : "N") + "', " + std::to_string(order) + ")");
}

void MenuFixture::line(const std::string& day, int seq, const std::string& product, double quantity,
                       const std::string& service) {
    char number[64];
    std::snprintf(number, sizeof number, "%.17g", quantity);
    db_.exec("INSERT INTO PRODCARD VALUES ('0001', '" + service + "', '" + day + "', " + std::to_string(seq) +
             ", '" + product + "', " + number + ")");
}

LiveServer& MenuFixture::server() {
    if (!server_)
        server_ = std::make_unique<LiveServer>(db_.pathString());
    return *server_;
}

RpcSession& MenuFixture::session() {
    if (!session_)
        session_ = std::make_unique<RpcSession>(server());
    return *session_;
}

nlohmann::json march() {
    return {"0001", "001", "2026-03-01", "2026-03-31"};
}

nlohmann::json marchWeeks() {
    return {"0001", "001", "2026-02-23", "2026-04-05"};
}
