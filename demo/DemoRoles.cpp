#include "DemoRoles.h"

#include "ShapeOptions.h"

#include <sstream>

namespace demo {

const char* categoryName(Category c) {
    // The captions of the screen's result pages, so that a reader finds the tab by its name.
    static constexpr std::array<const char*, kCategoryCount> names = {
        "Frequência de Pratos (Semana)",  "Frequência de Pratos (Mês)",
        "Frequência de Opções (Semana)",  "Frequência de Opções (Mês)",
        "Restrição de Pratos (Mês)",      "Restrição de Opções (Mês)",
        "Utilização de Pratos (Semana)",  "Limite de Nutrientes por Serviço",
        "Limite de Per Capita por Prato", "Limite de Per Capita por Serviço",
        "Restrição de Produtos",
    };
    return names[static_cast<std::size_t>(c)];
}

std::array<Category, kCategoryCount> allCategories() {
    std::array<Category, kCategoryCount> all{};
    for (int i = 0; i < kCategoryCount; ++i)
        all[static_cast<std::size_t>(i)] = static_cast<Category>(i);
    return all;
}

const std::vector<ServiceRole>& serviceRoles() {
    using C = Category;
    static const std::vector<ServiceRole> roles = {
        {"0001", "001",
         bit(C::FreqPratSem) | bit(C::FreqPratMes) | bit(C::FreqOpcaSem) | bit(C::FreqOpcaMes) |
             bit(C::RestProd)},
        kFullyInfringingService,
        kClearService,
        kNutrientOnlyService,
        {"0002", "001", kAllCategories},
        {"0002", "002", bit(C::LimPeSer) | bit(C::LimPePra) | bit(C::UtilPratSem)},
        {"0002", "003", bit(C::RestPratMes) | bit(C::RestOpcaMes) | bit(C::RestProd)},
        {"0003", "001", bit(C::FreqPratSem) | bit(C::LimNutri)},
        {"0003", "002", bit(C::FreqPratMes) | bit(C::FreqOpcaMes) | bit(C::LimPePra)},
        {"0004", "001", kAllCategories},
        {"0004", "002", bit(C::LimNutri) | bit(C::RestPratMes)},
        {"0004", "003", bit(C::UtilPratSem) | bit(C::LimPeSer)},
    };
    return roles;
}

CategoryMask infringedCategories(const std::string& branch, const std::string& service) {
    for (const auto& role : serviceRoles())
        if (role.branch == branch && role.service == service)
            return role.infringes;
    return 0;
}

std::string demoSummary() {
    std::ostringstream out;
    out << "Uso: restcont-demo --out ARQUIVO\n"
           "     restcont-demo --out postgresql://USUÁRIO@MÁQUINA:PORTA/BANCO\n"
           "     restcont-demo --from ARQUIVO --out postgresql://USUÁRIO@MÁQUINA:PORTA/BANCO\n"
           "Gera o banco de demonstração (SQLite ou PostgreSQL) com cardápios de 2026-01-01 a 2026-12-31.\n"
           "O ARQUIVO não pode existir e o BANCO PostgreSQL (que já deve existir) deve estar vazio;\n"
           "nada é gravado se a geração falhar. Com --from, copia para o BANCO o banco da suíte no\n"
           "ARQUIVO SQLite (lido sem alteração) em vez de gerar a demonstração.\n\n"
           "Mês de demonstração: março de 2026 (2026-03); DTPROCESSO das filiais: 2026-03-15.\n"
           "Filiais: 0001 Hospital São Lucas (todos os dias),\n"
           "         0002 Refeitório Metalúrgica Aurora (segunda a sábado),\n"
           "         0003 Escola Estadual Dom Pedro II (segunda a sexta),\n"
           "         0004 Restaurante Universitário Sul (segunda a sábado; contrato rescindido).\n"
           "Operadores: DEMO em 0001, 0002 e 0004 (recusado em 0003); MARIA só em 0002.\n\n"
           "Serviço sem nenhuma infração (modo CALCULA limpo): filial 0001, serviço 003 (Jantar).\n"
           "Serviço com infrações nas onze categorias: filial 0001, serviço 002 (Almoço).\n"
           "Serviço com infrações só em nutrientes: filial 0001, serviço 004 (Ceia).\n"
           "Filial com contrato rescindido: 0004.\n\n"
           "Infrações de cada serviço em 2026-03:\n";
    for (const auto& role : serviceRoles()) {
        out << "  " << role.branch << "/" << role.service << ": ";
        if (role.infringes == 0)
            out << "nenhuma";
        else if (role.infringes == kAllCategories)
            out << "todas as categorias";
        else {
            const char* separator = "";
            for (Category c : allCategories())
                if (role.infringes & bit(c)) {
                    out << separator << categoryName(c);
                    separator = ";\n            ";
                }
        }
        out << "\n";
    }
    out << shapeSummary();
    return out.str();
}

} // namespace demo
