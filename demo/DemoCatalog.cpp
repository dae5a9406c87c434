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

// Every code is stored as the suite's code masks lay it out, without the literals the masks add. A
// dish is class, sequence and group (0001005002, shown 0001.005.002 by the dish mask ">aaaa.aaa.aaa";
// 000 for no group), a dish group 9000, 000 and its number (9000000002, 9000.000.002); a product is PR,
// family and item (PR00020001, shown PR.0002.0001 by the product mask ">aa.aaaa.aaaa"), a product group GP,
// its family and 0000; a product's tree code is family, subfamily and item (0200010001, 02.0001.0001), a
// group's is its family with zeros below. The contracts take candidates in code order, so the codes keep the
// order of dishes before dish groups and product groups before products.
const std::vector<GroupDef>& dishGroups() {
    static const std::vector<GroupDef> all = {
        {"9000000001", "Carnes Bovinas", "", ""}, {"9000000002", "Aves", "", ""},
        {"9000000003", "Peixes", "", ""},         {"9000000004", "Frituras", "", ""},
        {"9000000005", "Doces", "", ""},          {"9000000006", "Carnes Suínas", "", ""},
    };
    return all;
}

const std::vector<DishDef>& dishes() {
    static const std::vector<DishDef> all = {
        {"0001001001", "Bife Acebolado", "9000000001", {{"PR00010002", 120}, {"PR00070008", 20}}},
        {"0001002001",
         "Carne de Panela",
         "9000000001",
         {{"PR00010001", 130}, {"PR00070005", 40}, {"PR00070003", 20}}},
        {"0001003001",
         "Carne Moída com Legumes",
         "9000000001",
         {{"PR00010003", 110}, {"PR00070003", 20}, {"PR00070005", 30}}},
        {"0001004006",
         "Feijoada",
         "9000000006",
         {{"PR00060002", 60}, {"PR00030002", 40}, {"PR00030001", 40}, {"PR00030003", 15}}},
        {"0001005002", "Frango Grelhado", "9000000002", {{"PR00020001", 130}}},
        {"0001006002",
         "Frango Xadrez",
         "9000000002",
         {{"PR00020001", 110}, {"PR00070009", 20}, {"PR00070008", 20}}},
        {"0001007002",
         "Strogonoff de Frango",
         "9000000002",
         {{"PR00020001", 110}, {"PR00080004", 30}, {"PR00900005", 20}}},
        {"0001008002", "Coxa de Frango Assada", "9000000002", {{"PR00020002", 150}, {"PR00900004", 3}}},
        {"0001009003", "Peixe Assado", "9000000003", {{"PR00040001", 130}, {"PR00070002", 20}}},
        {"0001010003",
         "Moqueca de Peixe",
         "9000000003",
         {{"PR00040002", 120}, {"PR00070009", 20}, {"PR00070002", 20}}},
        {"0001011006", "Lombo Suíno Assado", "9000000006", {{"PR00030001", 130}, {"PR00900004", 3}}},
        {"0001012000", "Omelete de Queijo", "", {{"PR00900003", 100}, {"PR00080002", 20}}},
        {"0001013001",
         "Macarronada à Bolonhesa",
         "9000000001",
         {{"PR00050002", 80}, {"PR00010003", 60}, {"PR00900005", 30}}},
        {"0001014000", "Cuscuz com Ovo", "", {{"PR00050005", 60}, {"PR00900003", 50}, {"PR00080003", 5}}},
        {"0001015000", "Mingau de Aveia", "", {{"PR00050004", 30}, {"PR00080001", 150}, {"PR00100001", 10}}},
        {"0001016000",
         "Sopa de Legumes",
         "",
         {{"PR00070005", 60}, {"PR00070003", 30}, {"PR00070007", 30}, {"PR00900002", 1}}},
        {"0001017000",
         "Caldo Verde",
         "",
         {{"PR00070005", 80}, {"PR00070004", 20}, {"PR00030002", 20}, {"PR00900002", 1}}},
        {"0001018000",
         "Canja de Galinha",
         "",
         {{"PR00020001", 50}, {"PR00050001", 20}, {"PR00070003", 10}, {"PR00900002", 1}}},
        {"0002001000", "Purê de Batata", "", {{"PR00070005", 120}, {"PR00080001", 20}, {"PR00080003", 5}}},
        {"0002002000",
         "Feijão Tropeiro",
         "",
         {{"PR00060001", 50}, {"PR00050003", 20}, {"PR00030003", 10}, {"PR00900003", 20}}},
        {"0002003000", "Farofa de Cenoura", "", {{"PR00050003", 30}, {"PR00070003", 20}, {"PR00080003", 5}}},
        {"0002004004", "Batata Frita", "9000000004", {{"PR00070005", 120}, {"PR00900001", 15}}},
        {"0002005004", "Mandioca Frita", "9000000004", {{"PR00070006", 120}, {"PR00900001", 15}}},
        {"0002006000", "Legumes Refogados", "", {{"PR00070003", 40}, {"PR00070007", 40}, {"PR00070004", 30}}},
        {"0002007000", "Abóbora Refogada", "", {{"PR00070007", 100}, {"PR00070008", 10}}},
        {"0002008000",
         "Macarrão ao Alho e Óleo",
         "",
         {{"PR00050002", 60}, {"PR00900004", 3}, {"PR00900001", 5}}},
        {"0003001000", "Arroz Branco", "", {{"PR00050001", 80}, {"PR00900001", 3}, {"PR00900002", 1}}},
        {"0003002000", "Feijão Carioca", "", {{"PR00060001", 50}, {"PR00900002", 1}}},
        {"0003003000", "Feijão Preto", "", {{"PR00060002", 50}, {"PR00900002", 1}}},
        {"0004001000", "Salada de Alface e Tomate", "", {{"PR00070001", 30}, {"PR00070002", 40}}},
        {"0004002000", "Salada de Repolho com Cenoura", "", {{"PR00070004", 40}, {"PR00070003", 20}}},
        {"0004003000", "Salada de Tomate com Cebola", "", {{"PR00070002", 50}, {"PR00070008", 10}}},
        {"0004004000", "Vinagrete", "", {{"PR00070002", 30}, {"PR00070008", 10}, {"PR00070009", 10}}},
        {"0005001005", "Doce de Leite", "9000000005", {{"PR00100002", 40}}},
        {"0005002005", "Goiabada com Queijo", "9000000005", {{"PR00100004", 30}, {"PR00080002", 20}}},
        {"0005003000", "Banana", "", {{"PR00090001", 100}}},
        {"0005004000", "Laranja", "", {{"PR00090002", 150}}},
        {"0005005000", "Mamão", "", {{"PR00090004", 120}}},
        {"0005006005",
         "Pudim de Leite",
         "9000000005",
         {{"PR00080001", 80}, {"PR00100001", 20}, {"PR00900003", 20}}},
        {"0005007000", "Salada de Frutas", "", {{"PR00090001", 40}, {"PR00090003", 40}, {"PR00090005", 40}}},
        {"0006001000", "Suco de Maracujá", "", {{"PR00120002", 50}, {"PR00100001", 15}}},
        {"0006002000", "Suco de Laranja", "", {{"PR00090002", 200}, {"PR00100001", 10}}},
        {"0006003000", "Café com Leite", "", {{"PR00120001", 10}, {"PR00080001", 100}, {"PR00100001", 10}}},
        {"0006004000", "Leite com Chocolate", "", {{"PR00080001", 200}, {"PR00100003", 15}}},
        {"0007001000", "Pão com Manteiga", "", {{"PR00110001", 50}, {"PR00080003", 8}}},
        {"0007002000", "Pão de Forma com Queijo", "", {{"PR00110002", 50}, {"PR00080002", 20}}},
        {"0007003005", "Bolo Simples", "9000000005", {{"PR00110003", 60}}},
        {"0007004000", "Tapioca com Queijo", "", {{"PR00050006", 50}, {"PR00080002", 20}}},
        {"0007005000",
         "Vitamina de Banana",
         "",
         {{"PR00080001", 200}, {"PR00090001", 80}, {"PR00100001", 10}}},
    };
    return all;
}

const std::vector<GroupDef>& productGroups() {
    static const std::vector<GroupDef> all = {
        {"GP00010000", "Carnes Bovinas", "g", "0100000000"},
        {"GP00020000", "Aves", "g", "0200000000"},
        {"GP00030000", "Carnes Suínas", "g", "0300000000"},
        {"GP00040000", "Pescados", "g", "0400000000"},
        {"GP00050000", "Cereais e Farinhas", "g", "0500000000"},
        {"GP00060000", "Leguminosas", "g", "0600000000"},
        {"GP00070000", "Hortaliças", "g", "0700000000"},
        {"GP00080000", "Laticínios", "g", "0800000000"},
        {"GP00090000", "Frutas", "g", "0900000000"},
        {"GP00100000", "Açúcares e Doces", "g", "1000000000"},
        {"GP00110000", "Panificação", "g", "1100000000"},
        {"GP00120000", "Bebidas", "g", "1200000000"},
    };
    return all;
}

const std::vector<ProductDef>& products() {
    static const std::vector<ProductDef> all = {
        {"PR00010001", "Acém bovino", "g", "0100010001", "GP00010000", {215, 26, 0, 12, 60, 0}},
        {"PR00010002", "Patinho bovino", "g", "0100010002", "GP00010000", {219, 36, 0, 7, 50, 0}},
        {"PR00010003", "Carne bovina moída", "g", "0100010003", "GP00010000", {212, 27, 0, 11, 70, 0}},
        {"PR00020001", "Peito de frango", "g", "0200010001", "GP00020000", {159, 32, 0, 3, 60, 0}},
        {"PR00020002",
         "Coxa e sobrecoxa de frango",
         "g",
         "0200010002",
         "GP00020000",
         {215, 26, 0, 12, 80, 0}},
        {"PR00030001", "Lombo suíno", "g", "0300010001", "GP00030000", {210, 32, 0, 8, 50, 0}},
        {"PR00030002", "Linguiça calabresa", "g", "0300010002", "GP00030000", {296, 16, 1, 25, 1100, 0}},
        {"PR00030003", "Bacon", "g", "0300010003", "GP00030000", {541, 37, 1, 42, 1700, 0}},
        {"PR00040001", "Filé de tilápia", "g", "0400010001", "GP00040000", {128, 26, 0, 3, 50, 0}},
        {"PR00040002", "Filé de merluza", "g", "0400010002", "GP00040000", {97, 17, 0, 3, 80, 0}},
        {"PR00050001", "Arroz branco tipo 1", "g", "0500010001", "GP00050000", {358, 7, 79, 0.5, 1, 1.6}},
        {"PR00050002", "Macarrão espaguete", "g", "0500010002", "GP00050000", {371, 13, 75, 1.5, 6, 3}},
        {"PR00050003", "Farinha de mandioca", "g", "0500010003", "GP00050000", {361, 1.6, 88, 0.3, 1, 6.4}},
        {"PR00050004", "Aveia em flocos", "g", "0500010004", "GP00050000", {394, 14, 67, 8, 5, 9}},
        {"PR00050005", "Flocos de milho", "g", "0500010005", "GP00050000", {370, 7, 79, 2, 10, 5}},
        {"PR00050006", "Goma de tapioca", "g", "0500010006", "GP00050000", {240, 0, 60, 0, 1, 0}},
        {"PR00060001", "Feijão carioca", "g", "0600010001", "GP00060000", {329, 20, 61, 1.3, 2, 18}},
        {"PR00060002", "Feijão preto", "g", "0600010002", "GP00060000", {324, 21, 58, 1.2, 2, 21}},
        {"PR00070001", "Alface crespa", "g", "0700010001", "GP00070000", {11, 1.3, 1.7, 0.2, 3, 1.8}},
        {"PR00070002", "Tomate", "g", "0700010002", "GP00070000", {15, 1.1, 3.1, 0.2, 1, 1.2}},
        {"PR00070003", "Cenoura", "g", "0700010003", "GP00070000", {34, 1.3, 7.7, 0.2, 3, 3.2}},
        {"PR00070004", "Repolho", "g", "0700010004", "GP00070000", {17, 0.9, 3.9, 0.1, 4, 1.9}},
        {"PR00070005", "Batata inglesa", "g", "0700010005", "GP00070000", {64, 1.8, 14.7, 0, 2, 1.2}},
        {"PR00070006", "Mandioca", "g", "0700010006", "GP00070000", {125, 0.6, 30, 0.3, 2, 1.9}},
        {"PR00070007", "Abóbora cabotiá", "g", "0700010007", "GP00070000", {19, 1.4, 4.3, 0.1, 1, 1.6}},
        {"PR00070008", "Cebola", "g", "0700010008", "GP00070000", {39, 1.7, 8.9, 0.1, 1, 2.2}},
        {"PR00070009", "Pimentão verde", "g", "0700010009", "GP00070000", {21, 1, 4.9, 0.2, 2, 2.6}},
        {"PR00080001", "Leite integral", "mL", "0800010001", "GP00080000", {61, 3.2, 4.6, 3.3, 42, 0}},
        {"PR00080002", "Queijo muçarela", "g", "0800010002", "GP00080000", {330, 23, 3, 25, 580, 0}},
        {"PR00080003", "Manteiga com sal", "g", "0800010003", "GP00080000", {726, 0.4, 0.1, 82, 580, 0}},
        {"PR00080004", "Creme de leite", "g", "0800010004", "GP00080000", {221, 1.5, 4.5, 22, 52, 0}},
        {"PR00090001", "Banana prata", "g", "0900010001", "GP00090000", {98, 1.3, 26, 0.1, 0, 2}},
        {"PR00090002", "Laranja pera", "g", "0900010002", "GP00090000", {37, 1, 8.9, 0.1, 0, 0.8}},
        {"PR00090003", "Maçã fuji", "g", "0900010003", "GP00090000", {56, 0.3, 15, 0, 0, 1.3}},
        {"PR00090004", "Mamão formosa", "g", "0900010004", "GP00090000", {45, 0.8, 11.6, 0.1, 3, 1.8}},
        {"PR00090005", "Abacaxi pérola", "g", "0900010005", "GP00090000", {48, 0.9, 12.3, 0.1, 0, 1}},
        {"PR00100001", "Açúcar refinado", "g", "1000010001", "GP00100000", {387, 0, 99.5, 0, 12, 0}},
        {"PR00100002", "Doce de leite", "g", "1000010002", "GP00100000", {306, 5.5, 59, 6, 95, 0}},
        {"PR00100003", "Achocolatado em pó", "g", "1000010003", "GP00100000", {401, 4, 91, 2, 70, 4}},
        {"PR00100004", "Goiabada cascão", "g", "1000010004", "GP00100000", {269, 0.4, 74, 0.1, 4, 3.7}},
        {"PR00110001", "Pão francês", "g", "1100010001", "GP00110000", {300, 8, 58, 3, 648, 2.3}},
        {"PR00110002", "Pão de forma", "g", "1100010002", "GP00110000", {253, 12, 44, 2.7, 506, 6.9}},
        {"PR00110003", "Bolo simples", "g", "1100010003", "GP00110000", {311, 5, 52, 9, 240, 1}},
        {"PR00120001", "Café torrado e moído", "g", "1200010001", "GP00120000", {419, 14, 65, 12, 1, 0}},
        {"PR00120002", "Polpa de maracujá", "g", "1200010002", "GP00120000", {39, 0.8, 9.6, 0.2, 4, 0.5}},
        {"PR00900001", "Óleo de soja", "mL", "9000010001", "", {884, 0, 0, 100, 0, 0}},
        {"PR00900002", "Sal refinado", "g", "9000010002", "", {0, 0, 0, 0, 39000, 0}},
        {"PR00900003", "Ovo de galinha", "g", "9000010003", "", {143, 13, 0.7, 9.5, 140, 0}},
        {"PR00900004", "Alho", "g", "9000010004", "", {113, 7, 24, 0.2, 5, 4.3}},
        {"PR00900005", "Molho de tomate", "g", "9000010005", "", {38, 1.4, 7.7, 0.2, 420, 1.5}},
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
