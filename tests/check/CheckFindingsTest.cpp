// Each data warning and each contract contradiction, over a database built to have it and one
// built not to.
#include "CheckTestSupport.h"
#include "ContractMenus.h"
#include "TestDatabase.h"

#include "check/Findings.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

const std::string kKey = "'0001', 'M1'";

struct FindingCase {
    const char* kind;
    std::string with, without; // rows added to the clear full-month service
};

void PrintTo(const FindingCase& c, std::ostream* os) {
    *os << c.kind;
}

std::vector<std::string> kindsOf(const std::vector<check::Finding>& findings) {
    std::vector<std::string> kinds;
    for (const check::Finding& finding : findings) {
        EXPECT_FALSE(finding.text.empty()) << finding.kind;
        kinds.push_back(finding.kind);
    }
    return kinds;
}

enum class Which { Warnings, Contradictions };

std::vector<std::string> findingKinds(Which which, const std::string& rows) {
    TestDatabase db;
    db.exec(contractCatalogueSql() + fullMonthServiceSql("M1") + rows);
    server::Database local(db.url());
    const check::Target target{"0001", "M1", "Mês inteiro", {}};
    const check::Month month = check::parseMonth("2026-03");
    const QLocale brazil(QLocale::Portuguese, QLocale::Brazil);
    return kindsOf(which == Which::Warnings ? check::dataWarnings(local, target, month, brazil)
                                            : check::contradictions(local, target, month, brazil));
}

class Warnings : public ::testing::TestWithParam<FindingCase> {};
class Contradictions : public ::testing::TestWithParam<FindingCase> {};

TEST_P(Warnings, TheKindIsFoundOnlyWhereTheDataHasIt) {
    using ::testing::ElementsAre;
    EXPECT_THAT(findingKinds(Which::Warnings, GetParam().with), ElementsAre(GetParam().kind));
    EXPECT_THAT(findingKinds(Which::Warnings, GetParam().without), ::testing::IsEmpty());
}

TEST_P(Contradictions, TheKindIsFoundOnlyWhereTheContractHasIt) {
    using ::testing::ElementsAre;
    EXPECT_THAT(findingKinds(Which::Contradictions, GetParam().with), ElementsAre(GetParam().kind));
    EXPECT_THAT(findingKinds(Which::Contradictions, GetParam().without), ::testing::IsEmpty());
}

const std::string kDay15 = "DTCARDAPIO = '2026-03-15'";

INSTANTIATE_TEST_SUITE_P(
    Check, Warnings,
    ::testing::Values(
        FindingCase{"nutriente_sem_valor", "INSERT INTO CTRLIMNUTR VALUES (" + kKey + ", 'N2', NULL, 5);",
                    "INSERT INTO CTRLIMNUTR VALUES (" + kKey + ", 'N1', NULL, 50);"},
        FindingCase{"dia_sem_cardapio",
                    "DELETE FROM PRODCARD WHERE " + kDay15 + "; DELETE FROM NUTRCARD WHERE " + kDay15 +
                        "; DELETE FROM CARDAPIO WHERE " + kDay15 + ";",
                    ""},
        FindingCase{"minimo_sem_produto", "INSERT INTO CTRLIMSERV VALUES (" + kKey + ", 'uv5432', 1, NULL);",
                    "INSERT INTO CTRLIMSERV VALUES (" + kKey + ", 'x1y2z3', 1, NULL);"},
        FindingCase{"minimo_sem_produto",
                    "INSERT INTO CTRLIMPRAT VALUES (" + kKey + ", 'abc123', 'uv5432', 1, NULL);",
                    // A dish never served asks nothing of its products.
                    "INSERT INTO CTRLIMPRAT VALUES (" + kKey + ", 'def456', 'uv5432', 1, NULL);"},
        FindingCase{"grupo_inexistente", "UPDATE PRATO SET CDGRUPO = 'grp404' WHERE CDPRATO = 'abc123';",
                    "INSERT INTO PRATO VALUES ('grp001', 'Grupo', 'S', NULL);"
                    "UPDATE PRATO SET CDGRUPO = 'grp001' WHERE CDPRATO = 'abc123';"},
        FindingCase{"grupo_inexistente", "UPDATE PRODUTO SET CDGRUPO = 'grp404' WHERE CDPRODUTO = 'x1y2z3';",
                    "INSERT INTO PRODUTO VALUES ('grp002', 'Grupo', 'KG', 'zz0000', 'S', NULL);"
                    "UPDATE PRODUTO SET CDGRUPO = 'grp002' WHERE CDPRODUTO = 'x1y2z3';"}),
    [](const auto& row) { return std::string(row.param.kind) + "_" + std::to_string(row.index); });

INSTANTIATE_TEST_SUITE_P(
    Check, Contradictions,
    ::testing::Values(
        FindingCase{"minimo_acima_do_maximo",
                    "INSERT INTO CTRFREQPRAT VALUES (" + kKey + ", 'abc123', 'N', NULL, 5, 3);",
                    "INSERT INTO CTRFREQPRAT VALUES (" + kKey + ", 'abc123', 'N', NULL, 3, 3);"},
        FindingCase{"minimo_acima_do_maximo", "INSERT INTO CTRLIMSERV VALUES (" + kKey + ", 'x1y2z3', 3, 2);",
                    "INSERT INTO CTRLIMSERV VALUES (" + kKey + ", 'x1y2z3', 2, 2);"},
        FindingCase{"minimo_acima_do_maximo",
                    "INSERT INTO CTRLIMPRAT VALUES (" + kKey + ", 'abc123', 'x1y2z3', 3, 2.5);",
                    "INSERT INTO CTRLIMPRAT VALUES (" + kKey + ", 'abc123', 'x1y2z3', NULL, 2.5);"},
        FindingCase{"minimo_acima_do_maximo", "INSERT INTO CTRLIMNUTR VALUES (" + kKey + ", 'N1', 20, 10);",
                    "INSERT INTO CTRLIMNUTR VALUES (" + kKey + ", 'N1', 10, 20);"},
        // March 2026's week span runs six weeks, from Monday 23 February to Sunday 5 April.
        FindingCase{"minimo_mensal_acima_do_semanal",
                    "INSERT INTO CTRFREQPRAT VALUES (" + kKey + ", 'abc123', 'S', 1, 7, NULL);",
                    "INSERT INTO CTRFREQPRAT VALUES (" + kKey + ", 'abc123', 'S', 1, 6, NULL);"},
        FindingCase{"minimo_de_prato_proibido",
                    "INSERT INTO CTRFREQPRAT VALUES (" + kKey +
                        ", 'def456', 'N', NULL, 1, NULL);"
                        "INSERT INTO CTRRESTPRAT VALUES (" +
                        kKey + ", 'def456', 'N');",
                    // Forbidden as an option only, wanted as a dish: both can hold.
                    "INSERT INTO CTRFREQPRAT VALUES (" + kKey +
                        ", 'def456', 'N', NULL, 1, NULL);"
                        "INSERT INTO CTRRESTPRAT VALUES (" +
                        kKey + ", 'def456', 'S');"},
        FindingCase{"minimo_sem_dia_permitido",
                    "INSERT INTO CTRFREQPRAT VALUES (" + kKey +
                        ", 'def456', 'N', NULL, 1, NULL);"
                        "INSERT INTO CTRUTILPRAT VALUES (" +
                        kKey + ", 'def456', 'N', 'N', 'N', 'N', 'N', 'N', 'N');",
                    "INSERT INTO CTRFREQPRAT VALUES (" + kKey +
                        ", 'def456', 'N', NULL, 1, NULL);"
                        "INSERT INTO CTRUTILPRAT VALUES (" +
                        kKey + ", 'def456', 'N', 'N', 'N', 'N', 'N', 'N', 'S');"},
        FindingCase{"minimo_de_produto_proibido",
                    "INSERT INTO CTRLIMSERV VALUES (" + kKey +
                        ", 'x1y2z3', 1, NULL);"
                        "INSERT INTO CTRRESTPROD VALUES (" +
                        kKey + ", 'x1y2z3');",
                    "INSERT INTO CTRLIMSERV VALUES (" + kKey +
                        ", 'x1y2z3', 1, NULL);"
                        "INSERT INTO CTRRESTPROD VALUES (" +
                        kKey + ", 'uv5432');"}),
    [](const auto& row) { return std::string(row.param.kind) + "_" + std::to_string(row.index); });

} // namespace
