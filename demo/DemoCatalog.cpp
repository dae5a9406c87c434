#include "DemoCatalog.h"

#include "DemoRoles.h"
#include "SqlDatabase.h"
#include "SqlStatement.h"

#include <stdexcept>

namespace demo {

const std::vector<BranchDef>& branches() {
    static const std::vector<BranchDef> all = {
        {"0001",
         "Hospital São Lucas",
         false,
         7,
         {{"001", "Desjejum", Meal::Desjejum},
          {"002", "Almoço", Meal::Almoco},
          {"003", "Jantar", Meal::Jantar},
          {"004", "Ceia", Meal::Ceia}}},
        {"0002",
         "Refeitório Metalúrgica Aurora",
         false,
         6,
         {{"001", "Almoço", Meal::Almoco}, {"002", "Jantar", Meal::Jantar}, {"003", "Ceia", Meal::Ceia}}},
        {"0003",
         "Escola Estadual Dom Pedro II",
         false,
         5,
         {{"001", "Desjejum", Meal::Desjejum}, {"002", "Almoço", Meal::Almoco}}},
        {"0004",
         "Restaurante Universitário Sul",
         true,
         6,
         {{"001", "Almoço", Meal::Almoco},
          {"002", "Jantar", Meal::Jantar},
          {"003", "Desjejum", Meal::Desjejum}}},
    };
    return all;
}

const std::vector<NamedCode>& dishTypes() {
    static const std::vector<NamedCode> all = {
        {"001", "Prato Principal", ""}, {"002", "Guarnição", ""}, {"003", "Salada", ""},
        {"004", "Sobremesa", ""},       {"005", "Sopa", ""},      {"006", "Bebida", ""},
        {"007", "Acompanhamento", ""},  {"008", "Lanche", ""},    {"009", "Fruta", ""},
    };
    return all;
}

const std::vector<NamedCode>& nutrients() {
    static const std::vector<NamedCode> all = {
        {"001", "Calorias", "kcal"}, {"002", "Proteínas", "g"}, {"003", "Carboidratos", "g"},
        {"004", "Lipídios", "g"},    {"005", "Sódio", "mg"},    {"006", "Fibras", "g"},
    };
    return all;
}

const std::vector<GroupDef>& dishGroups() {
    static const std::vector<GroupDef> all = {
        {"G01", "Carnes Bovinas", "", ""}, {"G02", "Aves", "", ""},  {"G03", "Peixes", "", ""},
        {"G04", "Frituras", "", ""},       {"G05", "Doces", "", ""}, {"G06", "Carnes Suínas", "", ""},
    };
    return all;
}

const std::vector<DishDef>& dishes() {
    static const std::vector<DishDef> all = {
        {"1001", "Bife Acebolado", "G01", {{"P0102", 120}, {"P0708", 20}}},
        {"1002", "Carne de Panela", "G01", {{"P0101", 130}, {"P0705", 40}, {"P0703", 20}}},
        {"1003", "Carne Moída com Legumes", "G01", {{"P0103", 110}, {"P0703", 20}, {"P0705", 30}}},
        {"1004", "Feijoada", "G06", {{"P0602", 60}, {"P0302", 40}, {"P0301", 40}, {"P0303", 15}}},
        {"1005", "Frango Grelhado", "G02", {{"P0201", 130}}},
        {"1006", "Frango Xadrez", "G02", {{"P0201", 110}, {"P0709", 20}, {"P0708", 20}}},
        {"1007", "Strogonoff de Frango", "G02", {{"P0201", 110}, {"P0804", 30}, {"P9005", 20}}},
        {"1008", "Coxa de Frango Assada", "G02", {{"P0202", 150}, {"P9004", 3}}},
        {"1009", "Peixe Assado", "G03", {{"P0401", 130}, {"P0702", 20}}},
        {"1010", "Moqueca de Peixe", "G03", {{"P0402", 120}, {"P0709", 20}, {"P0702", 20}}},
        {"1011", "Lombo Suíno Assado", "G06", {{"P0301", 130}, {"P9004", 3}}},
        {"1012", "Omelete de Queijo", "", {{"P9003", 100}, {"P0802", 20}}},
        {"1013", "Macarronada à Bolonhesa", "G01", {{"P0502", 80}, {"P0103", 60}, {"P9005", 30}}},
        {"1014", "Cuscuz com Ovo", "", {{"P0505", 60}, {"P9003", 50}, {"P0803", 5}}},
        {"1015", "Mingau de Aveia", "", {{"P0504", 30}, {"P0801", 150}, {"P1001", 10}}},
        {"1016", "Sopa de Legumes", "", {{"P0705", 60}, {"P0703", 30}, {"P0707", 30}, {"P9002", 1}}},
        {"1017", "Caldo Verde", "", {{"P0705", 80}, {"P0704", 20}, {"P0302", 20}, {"P9002", 1}}},
        {"1018", "Canja de Galinha", "", {{"P0201", 50}, {"P0501", 20}, {"P0703", 10}, {"P9002", 1}}},
        {"2001", "Purê de Batata", "", {{"P0705", 120}, {"P0801", 20}, {"P0803", 5}}},
        {"2002", "Feijão Tropeiro", "", {{"P0601", 50}, {"P0503", 20}, {"P0303", 10}, {"P9003", 20}}},
        {"2003", "Farofa de Cenoura", "", {{"P0503", 30}, {"P0703", 20}, {"P0803", 5}}},
        {"2004", "Batata Frita", "G04", {{"P0705", 120}, {"P9001", 15}}},
        {"2005", "Mandioca Frita", "G04", {{"P0706", 120}, {"P9001", 15}}},
        {"2006", "Legumes Refogados", "", {{"P0703", 40}, {"P0707", 40}, {"P0704", 30}}},
        {"2007", "Abóbora Refogada", "", {{"P0707", 100}, {"P0708", 10}}},
        {"2008", "Macarrão ao Alho e Óleo", "", {{"P0502", 60}, {"P9004", 3}, {"P9001", 5}}},
        {"3001", "Arroz Branco", "", {{"P0501", 80}, {"P9001", 3}, {"P9002", 1}}},
        {"3002", "Feijão Carioca", "", {{"P0601", 50}, {"P9002", 1}}},
        {"3003", "Feijão Preto", "", {{"P0602", 50}, {"P9002", 1}}},
        {"4001", "Salada de Alface e Tomate", "", {{"P0701", 30}, {"P0702", 40}}},
        {"4002", "Salada de Repolho com Cenoura", "", {{"P0704", 40}, {"P0703", 20}}},
        {"4003", "Salada de Tomate com Cebola", "", {{"P0702", 50}, {"P0708", 10}}},
        {"4004", "Vinagrete", "", {{"P0702", 30}, {"P0708", 10}, {"P0709", 10}}},
        {"5001", "Doce de Leite", "G05", {{"P1002", 40}}},
        {"5002", "Goiabada com Queijo", "G05", {{"P1004", 30}, {"P0802", 20}}},
        {"5003", "Banana", "", {{"P0901", 100}}},
        {"5004", "Laranja", "", {{"P0902", 150}}},
        {"5005", "Mamão", "", {{"P0904", 120}}},
        {"5006", "Pudim de Leite", "G05", {{"P0801", 80}, {"P1001", 20}, {"P9003", 20}}},
        {"5007", "Salada de Frutas", "", {{"P0901", 40}, {"P0903", 40}, {"P0905", 40}}},
        {"6001", "Suco de Maracujá", "", {{"P1202", 50}, {"P1001", 15}}},
        {"6002", "Suco de Laranja", "", {{"P0902", 200}, {"P1001", 10}}},
        {"6003", "Café com Leite", "", {{"P1201", 10}, {"P0801", 100}, {"P1001", 10}}},
        {"6004", "Leite com Chocolate", "", {{"P0801", 200}, {"P1003", 15}}},
        {"7001", "Pão com Manteiga", "", {{"P1101", 50}, {"P0803", 8}}},
        {"7002", "Pão de Forma com Queijo", "", {{"P1102", 50}, {"P0802", 20}}},
        {"7003", "Bolo Simples", "G05", {{"P1103", 60}}},
        {"7004", "Tapioca com Queijo", "", {{"P0506", 50}, {"P0802", 20}}},
        {"7005", "Vitamina de Banana", "", {{"P0801", 200}, {"P0901", 80}, {"P1001", 10}}},
    };
    return all;
}

const std::vector<GroupDef>& productGroups() {
    static const std::vector<GroupDef> all = {
        {"GP01", "Carnes Bovinas", "g", "01"},
        {"GP02", "Aves", "g", "02"},
        {"GP03", "Carnes Suínas", "g", "03"},
        {"GP04", "Pescados", "g", "04"},
        {"GP05", "Cereais e Farinhas", "g", "05"},
        {"GP06", "Leguminosas", "g", "06"},
        {"GP07", "Hortaliças", "g", "07"},
        {"GP08", "Laticínios", "g", "08"},
        {"GP09", "Frutas", "g", "09"},
        {"GP10", "Açúcares e Doces", "g", "10"},
        {"GP11", "Panificação", "g", "11"},
        {"GP12", "Bebidas", "g", "12"},
    };
    return all;
}

const std::vector<ProductDef>& products() {
    static const std::vector<ProductDef> all = {
        {"P0101", "Acém bovino", "g", "01.001", "GP01", {215, 26, 0, 12, 60, 0}},
        {"P0102", "Patinho bovino", "g", "01.002", "GP01", {219, 36, 0, 7, 50, 0}},
        {"P0103", "Carne bovina moída", "g", "01.003", "GP01", {212, 27, 0, 11, 70, 0}},
        {"P0201", "Peito de frango", "g", "02.001", "GP02", {159, 32, 0, 3, 60, 0}},
        {"P0202", "Coxa e sobrecoxa de frango", "g", "02.002", "GP02", {215, 26, 0, 12, 80, 0}},
        {"P0301", "Lombo suíno", "g", "03.001", "GP03", {210, 32, 0, 8, 50, 0}},
        {"P0302", "Linguiça calabresa", "g", "03.002", "GP03", {296, 16, 1, 25, 1100, 0}},
        {"P0303", "Bacon", "g", "03.003", "GP03", {541, 37, 1, 42, 1700, 0}},
        {"P0401", "Filé de tilápia", "g", "04.001", "GP04", {128, 26, 0, 3, 50, 0}},
        {"P0402", "Filé de merluza", "g", "04.002", "GP04", {97, 17, 0, 3, 80, 0}},
        {"P0501", "Arroz branco tipo 1", "g", "05.001", "GP05", {358, 7, 79, 0.5, 1, 1.6}},
        {"P0502", "Macarrão espaguete", "g", "05.002", "GP05", {371, 13, 75, 1.5, 6, 3}},
        {"P0503", "Farinha de mandioca", "g", "05.003", "GP05", {361, 1.6, 88, 0.3, 1, 6.4}},
        {"P0504", "Aveia em flocos", "g", "05.004", "GP05", {394, 14, 67, 8, 5, 9}},
        {"P0505", "Flocos de milho", "g", "05.005", "GP05", {370, 7, 79, 2, 10, 5}},
        {"P0506", "Goma de tapioca", "g", "05.006", "GP05", {240, 0, 60, 0, 1, 0}},
        {"P0601", "Feijão carioca", "g", "06.001", "GP06", {329, 20, 61, 1.3, 2, 18}},
        {"P0602", "Feijão preto", "g", "06.002", "GP06", {324, 21, 58, 1.2, 2, 21}},
        {"P0701", "Alface crespa", "g", "07.001", "GP07", {11, 1.3, 1.7, 0.2, 3, 1.8}},
        {"P0702", "Tomate", "g", "07.002", "GP07", {15, 1.1, 3.1, 0.2, 1, 1.2}},
        {"P0703", "Cenoura", "g", "07.003", "GP07", {34, 1.3, 7.7, 0.2, 3, 3.2}},
        {"P0704", "Repolho", "g", "07.004", "GP07", {17, 0.9, 3.9, 0.1, 4, 1.9}},
        {"P0705", "Batata inglesa", "g", "07.005", "GP07", {64, 1.8, 14.7, 0, 2, 1.2}},
        {"P0706", "Mandioca", "g", "07.006", "GP07", {125, 0.6, 30, 0.3, 2, 1.9}},
        {"P0707", "Abóbora cabotiá", "g", "07.007", "GP07", {19, 1.4, 4.3, 0.1, 1, 1.6}},
        {"P0708", "Cebola", "g", "07.008", "GP07", {39, 1.7, 8.9, 0.1, 1, 2.2}},
        {"P0709", "Pimentão verde", "g", "07.009", "GP07", {21, 1, 4.9, 0.2, 2, 2.6}},
        {"P0801", "Leite integral", "mL", "08.001", "GP08", {61, 3.2, 4.6, 3.3, 42, 0}},
        {"P0802", "Queijo muçarela", "g", "08.002", "GP08", {330, 23, 3, 25, 580, 0}},
        {"P0803", "Manteiga com sal", "g", "08.003", "GP08", {726, 0.4, 0.1, 82, 580, 0}},
        {"P0804", "Creme de leite", "g", "08.004", "GP08", {221, 1.5, 4.5, 22, 52, 0}},
        {"P0901", "Banana prata", "g", "09.001", "GP09", {98, 1.3, 26, 0.1, 0, 2}},
        {"P0902", "Laranja pera", "g", "09.002", "GP09", {37, 1, 8.9, 0.1, 0, 0.8}},
        {"P0903", "Maçã fuji", "g", "09.003", "GP09", {56, 0.3, 15, 0, 0, 1.3}},
        {"P0904", "Mamão formosa", "g", "09.004", "GP09", {45, 0.8, 11.6, 0.1, 3, 1.8}},
        {"P0905", "Abacaxi pérola", "g", "09.005", "GP09", {48, 0.9, 12.3, 0.1, 0, 1}},
        {"P1001", "Açúcar refinado", "g", "10.001", "GP10", {387, 0, 99.5, 0, 12, 0}},
        {"P1002", "Doce de leite", "g", "10.002", "GP10", {306, 5.5, 59, 6, 95, 0}},
        {"P1003", "Achocolatado em pó", "g", "10.003", "GP10", {401, 4, 91, 2, 70, 4}},
        {"P1004", "Goiabada cascão", "g", "10.004", "GP10", {269, 0.4, 74, 0.1, 4, 3.7}},
        {"P1101", "Pão francês", "g", "11.001", "GP11", {300, 8, 58, 3, 648, 2.3}},
        {"P1102", "Pão de forma", "g", "11.002", "GP11", {253, 12, 44, 2.7, 506, 6.9}},
        {"P1103", "Bolo simples", "g", "11.003", "GP11", {311, 5, 52, 9, 240, 1}},
        {"P1201", "Café torrado e moído", "g", "12.001", "GP12", {419, 14, 65, 12, 1, 0}},
        {"P1202", "Polpa de maracujá", "g", "12.002", "GP12", {39, 0.8, 9.6, 0.2, 4, 0.5}},
        {"P9001", "Óleo de soja", "mL", "90.001", "", {884, 0, 0, 100, 0, 0}},
        {"P9002", "Sal refinado", "g", "90.002", "", {0, 0, 0, 0, 39000, 0}},
        {"P9003", "Ovo de galinha", "g", "90.003", "", {143, 13, 0.7, 9.5, 140, 0}},
        {"P9004", "Alho", "g", "90.004", "", {113, 7, 24, 0.2, 5, 4.3}},
        {"P9005", "Molho de tomate", "g", "90.005", "", {38, 1.4, 7.7, 0.2, 420, 1.5}},
    };
    return all;
}

const DishDef& dish(const std::string& code) {
    for (const auto& d : dishes())
        if (code == d.code)
            return d;
    throw std::logic_error("prato desconhecido no catálogo: " + code);
}

const ProductDef& product(const std::string& code) {
    for (const auto& p : products())
        if (code == p.code)
            return p;
    throw std::logic_error("produto desconhecido no catálogo: " + code);
}

namespace {

std::string orNull(const char* text) {
    return text;
}

void writeBranches(SqlDatabase& db, const std::vector<BranchDef>& branchList) {
    SqlStatement branch(db, "INSERT INTO FILIAL VALUES (?1, ?2, ?3, ?4)");
    SqlStatement service(db, "INSERT INTO SERVFILI VALUES (?1, ?2, ?3)");
    SqlStatement oper(db, "INSERT INTO OPERFILI VALUES (?1, ?2)");
    for (const auto& b : branchList) {
        branch.bind(1, std::string(b.code))
            .bind(2, std::string(b.name))
            .bind(3, std::string(b.rescinded ? "S" : "N"))
            .bind(4, std::string(kProcessingDate))
            .run();
        for (const auto& s : b.services)
            service.bind(1, std::string(b.code))
                .bind(2, std::string(s.code))
                .bind(3, std::string(s.name))
                .run();
        if (std::string(b.code) != kDemoOperatorRefusedBranch)
            oper.bind(1, std::string(kDemoOperator)).bind(2, std::string(b.code)).run();
    }
    oper.bind(1, std::string(kConfinedOperator)).bind(2, std::string(kConfinedOperatorBranch)).run();
}

void writeDishes(SqlDatabase& db) {
    SqlStatement type(db, "INSERT INTO TIPOPRAT VALUES (?1, ?2)");
    for (const auto& t : dishTypes())
        type.bind(1, std::string(t.code)).bind(2, std::string(t.name)).run();
    SqlStatement prato(db, "INSERT INTO PRATO VALUES (?1, ?2, ?3, NULLIF(?4, ''))");
    for (const auto& g : dishGroups())
        prato.bind(1, std::string(g.code))
            .bind(2, std::string(g.name))
            .bind(3, std::string("S"))
            .bind(4, "")
            .run();
    for (const auto& d : dishes())
        prato.bind(1, std::string(d.code))
            .bind(2, std::string(d.name))
            .bind(3, std::string("N"))
            .bind(4, orNull(d.group))
            .run();
}

void writeProducts(SqlDatabase& db) {
    SqlStatement produto(db, "INSERT INTO PRODUTO VALUES (?1, ?2, ?3, ?4, ?5, NULLIF(?6, ''))");
    for (const auto& g : productGroups())
        produto.bind(1, std::string(g.code))
            .bind(2, std::string(g.name))
            .bind(3, std::string(g.unit))
            .bind(4, std::string(g.arv))
            .bind(5, std::string("S"))
            .bind(6, "")
            .run();
    for (const auto& p : products())
        produto.bind(1, std::string(p.code))
            .bind(2, std::string(p.name))
            .bind(3, std::string(p.unit))
            .bind(4, std::string(p.arv))
            .bind(5, std::string("N"))
            .bind(6, orNull(p.group))
            .run();
    SqlStatement nutriente(db, "INSERT INTO NUTRIENTE VALUES (?1, ?2, ?3)");
    for (const auto& n : nutrients())
        nutriente.bind(1, std::string(n.code))
            .bind(2, std::string(n.name))
            .bind(3, std::string(n.unit))
            .run();
}

} // namespace

void writeCatalog(SqlDatabase& db, const std::vector<BranchDef>& branchList) {
    writeBranches(db, branchList);
    writeDishes(db);
    writeProducts(db);
}

} // namespace demo
