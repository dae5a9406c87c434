#include "DemoGenerator.h"
#include "DemoRoles.h"
#include "GeneratedDemo.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(DemoDeterminismTest, TwoRunsWriteTheSameRows) {
    TempFolder folder;
    demo::generateDemoDatabase(folder.path() / "again.db");
    const std::string first = ReadOnlyDb(generatedDemo()).dump();
    const std::string second = ReadOnlyDb(folder.path() / "again.db").dump();
    EXPECT_GT(first.size(), 1000u);
    EXPECT_TRUE(first == second) << "the second run differs from the first";
}

class DemoTableFilled : public testing::TestWithParam<const char*> {};

TEST_P(DemoTableFilled, HasRows) {
    ReadOnlyDb db(generatedDemo());
    EXPECT_GT(db.scalar(std::string("SELECT COUNT(*) FROM ") + GetParam()), 0);
}

INSTANTIATE_TEST_SUITE_P(EveryTable, DemoTableFilled,
                         testing::Values("FILIAL", "OPERFILI", "SERVFILI", "TIPOPRAT", "PRATO", "PRODUTO",
                                         "NUTRIENTE", "CARDAPIO", "PRODCARD", "NUTRCARD", "CTRFREQPRAT",
                                         "CTRRESTPRAT", "CTRUTILPRAT", "CTRRESTPROD", "CTRLIMSERV",
                                         "CTRLIMPRAT", "CTRLIMNUTR"));

TEST(DemoTableFilledTest, ListCoversEverySchemaTable) {
    EXPECT_EQ(ReadOnlyDb(generatedDemo()).tables().size(), 17u);
}

TEST(DemoIntegrityTest, SqliteFindsNoBrokenConstraint) {
    // integrity_check also re-evaluates the schema's CHECK and NOT NULL constraints on every row.
    EXPECT_EQ(ReadOnlyDb(generatedDemo()).text("PRAGMA integrity_check"), "'ok'\n");
}

struct Rule {
    const char* name;
    const char* violations; // rows breaking the rule; none expected
};

class DemoReference : public testing::TestWithParam<Rule> {};

TEST_P(DemoReference, Holds) {
    ReadOnlyDb db(generatedDemo());
    EXPECT_EQ(db.scalar(GetParam().violations), 0) << GetParam().violations;
}

#define UNKNOWN_SERVICE(T)                                                                                   \
    "SELECT COUNT(*) FROM " T " t WHERE NOT EXISTS (SELECT 1 FROM SERVFILI v WHERE v.CDFILIAL = t.CDFILIAL " \
    "AND v.CDSERVFILI = t.CDSERVFILI)"

const Rule kRules[] = {
    {"ServiceBranchExists",
     "SELECT COUNT(*) FROM SERVFILI s WHERE s.CDFILIAL NOT IN (SELECT CDFILIAL FROM FILIAL)"},
    {"OperatorBranchExists",
     "SELECT COUNT(*) FROM OPERFILI o WHERE o.CDFILIAL NOT IN (SELECT CDFILIAL FROM FILIAL)"},
    {"DishGroupIsAGroup", "SELECT COUNT(*) FROM PRATO p WHERE p.CDGRUPO IS NOT NULL AND p.CDGRUPO NOT IN "
                          "(SELECT CDPRATO FROM PRATO WHERE IDGRUPO = 'S')"},
    {"DishGroupHasNoGroup", "SELECT COUNT(*) FROM PRATO WHERE IDGRUPO = 'S' AND CDGRUPO IS NOT NULL"},
    {"ProductGroupIsAGroup",
     "SELECT COUNT(*) FROM PRODUTO p WHERE p.CDGRUPO IS NOT NULL AND p.CDGRUPO NOT IN "
     "(SELECT CDPRODUTO FROM PRODUTO WHERE IDGRUPO = 'S')"},
    {"ProductGroupHasNoGroup", "SELECT COUNT(*) FROM PRODUTO WHERE IDGRUPO = 'S' AND CDGRUPO IS NOT NULL"},
    {"EveryGroupHasMembers",
     "SELECT (SELECT COUNT(*) FROM PRATO g WHERE g.IDGRUPO = 'S' AND NOT EXISTS "
     "(SELECT 1 FROM PRATO m WHERE m.CDGRUPO = g.CDPRATO)) + (SELECT COUNT(*) FROM PRODUTO g "
     "WHERE g.IDGRUPO = 'S' AND NOT EXISTS (SELECT 1 FROM PRODUTO m WHERE m.CDGRUPO = "
     "g.CDPRODUTO))"},
    {"MenuServiceExists", UNKNOWN_SERVICE("CARDAPIO")},
    {"MenuServesDishesNotGroups", "SELECT COUNT(*) FROM CARDAPIO c WHERE c.CDPRATO NOT IN "
                                  "(SELECT CDPRATO FROM PRATO WHERE IDGRUPO = 'N')"},
    {"MenuDishTypeExists",
     "SELECT COUNT(*) FROM CARDAPIO c WHERE c.CDTIPOPRAT NOT IN (SELECT CDTIPOPRAT FROM TIPOPRAT)"},
    {"MenuDateIsReal", "SELECT COUNT(*) FROM CARDAPIO WHERE date(DTCARDAPIO) IS NOT DTCARDAPIO"},
    {"MenuYearIs2026",
     "SELECT COUNT(*) FROM CARDAPIO WHERE DTCARDAPIO NOT BETWEEN '2026-01-01' AND '2026-12-31'"},
    {"ProductLineHasItsItem",
     "SELECT COUNT(*) FROM PRODCARD l WHERE NOT EXISTS (SELECT 1 FROM CARDAPIO c WHERE c.CDFILIAL = "
     "l.CDFILIAL "
     "AND c.CDSERVFILI = l.CDSERVFILI AND c.DTCARDAPIO = l.DTCARDAPIO AND c.NRSEQPRATCAR = l.NRSEQPRATCAR)"},
    {"ProductLineUsesProductsNotGroups", "SELECT COUNT(*) FROM PRODCARD l WHERE l.CDPRODUTO NOT IN "
                                         "(SELECT CDPRODUTO FROM PRODUTO WHERE IDGRUPO = 'N')"},
    {"PerCapitaIsPositive", "SELECT COUNT(*) FROM PRODCARD WHERE QTPRODUTO <= 0"},
    {"EveryItemHasProducts",
     "SELECT COUNT(*) FROM CARDAPIO c WHERE NOT EXISTS (SELECT 1 FROM PRODCARD l WHERE c.CDFILIAL = "
     "l.CDFILIAL "
     "AND c.CDSERVFILI = l.CDSERVFILI AND c.DTCARDAPIO = l.DTCARDAPIO AND c.NRSEQPRATCAR = l.NRSEQPRATCAR)"},
    {"MenuDayOrderIsUnique", "SELECT COUNT(*) FROM (SELECT 1 FROM CARDAPIO GROUP BY CDFILIAL, CDSERVFILI, "
                             "DTCARDAPIO, NRORDPRATCAR HAVING COUNT(*) > 1)"},
    {"NutrientRowServiceExists", UNKNOWN_SERVICE("NUTRCARD")},
    {"NutrientExists",
     "SELECT COUNT(*) FROM NUTRCARD n WHERE n.CDNUTRIENTE NOT IN (SELECT CDNUTRIENTE FROM NUTRIENTE)"},
    {"NutrientDateIsReal", "SELECT COUNT(*) FROM NUTRCARD WHERE date(DTCARDAPIO) IS NOT DTCARDAPIO"},
    {"FreqServiceExists", UNKNOWN_SERVICE("CTRFREQPRAT")},
    {"RestPratServiceExists", UNKNOWN_SERVICE("CTRRESTPRAT")},
    {"UtilPratServiceExists", UNKNOWN_SERVICE("CTRUTILPRAT")},
    {"RestProdServiceExists", UNKNOWN_SERVICE("CTRRESTPROD")},
    {"LimServServiceExists", UNKNOWN_SERVICE("CTRLIMSERV")},
    {"LimPratServiceExists", UNKNOWN_SERVICE("CTRLIMPRAT")},
    {"LimNutrServiceExists", UNKNOWN_SERVICE("CTRLIMNUTR")},
    {"RestrictedDishesExist",
     "SELECT (SELECT COUNT(*) FROM CTRFREQPRAT WHERE CDPRATO NOT IN (SELECT CDPRATO FROM PRATO)) + "
     "(SELECT COUNT(*) FROM CTRRESTPRAT WHERE CDPRATO NOT IN (SELECT CDPRATO FROM PRATO)) + "
     "(SELECT COUNT(*) FROM CTRUTILPRAT WHERE CDPRATO NOT IN (SELECT CDPRATO FROM PRATO)) + "
     "(SELECT COUNT(*) FROM CTRLIMPRAT WHERE CDPRATO NOT IN (SELECT CDPRATO FROM PRATO))"},
    {"RestrictedProductsExist",
     "SELECT (SELECT COUNT(*) FROM CTRRESTPROD WHERE CDPRODUTO NOT IN (SELECT CDPRODUTO FROM PRODUTO)) + "
     "(SELECT COUNT(*) FROM CTRLIMSERV WHERE CDPRODUTO NOT IN (SELECT CDPRODUTO FROM PRODUTO)) + "
     "(SELECT COUNT(*) FROM CTRLIMPRAT WHERE CDPRODUTO NOT IN (SELECT CDPRODUTO FROM PRODUTO))"},
    {"RestrictedNutrientsExist",
     "SELECT COUNT(*) FROM CTRLIMNUTR WHERE CDNUTRIENTE NOT IN (SELECT CDNUTRIENTE FROM NUTRIENTE)"},
    {"BoundsAreOrdered", "SELECT (SELECT COUNT(*) FROM CTRFREQPRAT WHERE NRMINMES > NRMAXMES) + "
                         "(SELECT COUNT(*) FROM CTRLIMSERV WHERE QTMINLIMSERV > QTMAXLIMSERV) + "
                         "(SELECT COUNT(*) FROM CTRLIMPRAT WHERE QTMINLIMPRAT > QTMAXLIMPRAT) + "
                         "(SELECT COUNT(*) FROM CTRLIMNUTR WHERE QTMINLIMNUTR > QTMAXLIMNUTR)"},
    {"ProcessingMonthHasMenus",
     "SELECT COUNT(*) FROM FILIAL f WHERE NOT EXISTS (SELECT 1 FROM CARDAPIO c WHERE c.CDFILIAL = f.CDFILIAL "
     "AND substr(c.DTCARDAPIO, 1, 7) = substr(f.DTPROCESSO, 1, 7))"},
    {"EveryServiceHasAYearOfMenus",
     "SELECT COUNT(*) FROM SERVFILI s WHERE (SELECT COUNT(DISTINCT substr(DTCARDAPIO, 1, 7)) FROM CARDAPIO c "
     "WHERE c.CDFILIAL = s.CDFILIAL AND c.CDSERVFILI = s.CDSERVFILI) <> 12"},
    {"EveryServiceHasOptions", "SELECT COUNT(*) FROM SERVFILI s WHERE NOT EXISTS (SELECT 1 FROM CARDAPIO c "
                               "WHERE c.CDFILIAL = s.CDFILIAL "
                               "AND c.CDSERVFILI = s.CDSERVFILI AND c.IDOPCCNFMES = 'S')"},
    {"BranchesHaveTwoToFourServices", "SELECT COUNT(*) FROM (SELECT CDFILIAL FROM SERVFILI GROUP BY CDFILIAL "
                                      "HAVING COUNT(*) NOT BETWEEN 2 AND 4)"},
};

INSTANTIATE_TEST_SUITE_P(Rules, DemoReference, testing::ValuesIn(kRules),
                         [](const testing::TestParamInfo<Rule>& p) { return std::string(p.param.name); });

TEST(DemoContentTest, SomeMenuDaysHaveNoNutrientRow) {
    ReadOnlyDb db(generatedDemo());
    EXPECT_GT(
        db.scalar("SELECT COUNT(*) FROM (SELECT DISTINCT CDFILIAL, CDSERVFILI, DTCARDAPIO FROM CARDAPIO) d "
                  "WHERE NOT EXISTS (SELECT 1 FROM NUTRCARD n WHERE n.CDFILIAL = d.CDFILIAL AND "
                  "n.CDSERVFILI = d.CDSERVFILI AND n.DTCARDAPIO = d.DTCARDAPIO)"),
        0);
}

TEST(DemoContentTest, NamesKeepTheirAccents) {
    ReadOnlyDb db(generatedDemo());
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM PRATO WHERE NMPRATO IN ('Feijão Tropeiro', 'Purê de Batata', "
                        "'Frango Grelhado')"),
              3);
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM SERVFILI WHERE NMSERVICO = 'Almoço'"), 4);
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM NUTRIENTE WHERE NMNUTRIENTE = 'Sódio' AND SGUNIDADE = 'mg'"),
              1);
}

TEST(DemoContentTest, TheSchoolServesOnWeekdaysOnly) {
    ReadOnlyDb db(generatedDemo());
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM CARDAPIO WHERE CDFILIAL = '0003' AND "
                        "strftime('%w', DTCARDAPIO) IN ('0', '6')"),
              0);
}

TEST(DemoBranchTest, OnlyTheAnnouncedBranchIsRescinded) {
    ReadOnlyDb db(generatedDemo());
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM FILIAL WHERE IDCONTRRESC = 'S'"), 1);
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM FILIAL WHERE IDCONTRRESC = 'S' AND CDFILIAL = :b",
                        {{":b", demo::kRescindedBranch}}),
              1);
}

TEST(DemoOperatorTest, DemoOperatorIsRefusedOnExactlyOneBranch) {
    ReadOnlyDb db(generatedDemo());
    const std::map<std::string, std::string> p = {{":o", demo::kDemoOperator},
                                                  {":b", demo::kDemoOperatorRefusedBranch}};
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM FILIAL WHERE CDFILIAL NOT IN "
                        "(SELECT CDFILIAL FROM OPERFILI WHERE CDOPERADOR = :o)",
                        p),
              1);
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM OPERFILI WHERE CDOPERADOR = :o AND CDFILIAL = :b", p), 0);
    // The demo script signs in as DEMO on branch 0001.
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM OPERFILI WHERE CDOPERADOR = :o AND CDFILIAL = '0001'", p), 1);
}

TEST(DemoOperatorTest, ConfinedOperatorHasOneBranch) {
    ReadOnlyDb db(generatedDemo());
    const std::map<std::string, std::string> p = {{":o", demo::kConfinedOperator},
                                                  {":b", demo::kConfinedOperatorBranch}};
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM OPERFILI WHERE CDOPERADOR = :o", p), 1);
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM OPERFILI WHERE CDOPERADOR = :o AND CDFILIAL = :b", p), 1);
}

TEST(DemoRolesTest, EveryServiceOfTheDatabaseHasARole) {
    ReadOnlyDb db(generatedDemo());
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM SERVFILI"),
              static_cast<long long>(demo::serviceRoles().size()));
    for (const auto& role : demo::serviceRoles())
        EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM SERVFILI WHERE CDFILIAL = :f AND CDSERVFILI = :s",
                            {{":f", role.branch}, {":s", role.service}}),
                  1)
            << role.branch << "/" << role.service;
}

} // namespace
