#include "RefusalOf.h"
#include "TestDatabase.h"

#include "host/context/OperatorContext.h"
#include "host/context/SettingsKeys.h"
#include "host/core/Refusal.h"
#include "host/db/TADOIBQuery.h"
#include "host/db/TdtmDBGeral.h"
#include "host/db/ValidaFilial.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <functional>

using host::Refusal;
using host::TADOIBQuery;
using namespace Qt::StringLiterals;

namespace {

const QString kBranchQuery = u"SELECT\n"
                             "   CDFILIAL,\n"
                             "   NMFILIAL\n"
                             "FROM\n"
                             "   FILIAL\n"
                             "WHERE\n"
                             "   (CDFILIAL = :P_CDFILIAL OR :P_TCDFILIAL = 'T')\n"
                             "ORDER BY\n"
                             "   CDFILIAL\n"_s;

class LocalDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        host::OperatorContext::instance().clear();
        host::TdtmDBGeral::instance().close();
        db.exec("INSERT INTO FILIAL VALUES ('0002', 'Escola Norte', 'N', '2026-03-01');"
                "INSERT INTO FILIAL VALUES ('0001', 'Hospital Central', 'N', '2026-03-01');"
                "INSERT INTO FILIAL VALUES ('0003', 'Fábrica Sul', 'S', '2026-03-01');"
                "INSERT INTO OPERFILI VALUES ('MARIA', '0001');"
                "INSERT INTO OPERFILI VALUES ('MARIA', '0003');");
        host::OperatorContext::instance().set(host::keys::kDatabasePath,
                                              QString::fromStdString(db.pathString()));
    }
    void TearDown() override {
        host::TdtmDBGeral::instance().close();
        host::OperatorContext::instance().clear();
    }

    // The branch query as the selection panel declares it.
    static void declareBranchQuery(TADOIBQuery& query) {
        query.SQL = kBranchQuery;
        query.SQL_ORACLE = query.SQL_MSSQL = query.SQL_IB = kBranchQuery + u"\n"_s;
        query.AddStringField(u"CDFILIAL"_s, 4).SetDisplayLabel(u"Código"_s);
        query.AddStringField(u"NMFILIAL"_s, 30).SetDisplayLabel(u"Nome"_s);
    }

    TestDatabase db;
};

TEST_F(LocalDatabaseTest, AMissingFileIsAnErrorNamingItAndIsNotCreated) {
    QTemporaryDir dir;
    const QString missing = dir.filePath(u"nao-existe.db"_s);
    host::OperatorContext::instance().set(host::keys::kDatabasePath, missing);
    const QString message = refusalOf([] { host::TdtmDBGeral::instance().adcGeral(); });
    EXPECT_TRUE(message.contains(missing)) << message.toStdString();
    EXPECT_FALSE(QFileInfo::exists(missing));
    EXPECT_FALSE(host::TdtmDBGeral::instance().isOpen());
}

TEST_F(LocalDatabaseTest, AFileThatIsNotADatabaseIsAnErrorNamingIt) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"lixo.db"_s);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, 'x'));
    file.close();
    host::OperatorContext::instance().set(host::keys::kDatabasePath, path);
    const QString message = refusalOf([] {
        TADOIBQuery query(u"qryFilial"_s);
        query.SQL = u"SELECT CDFILIAL FROM FILIAL"_s;
        query.Open();
    });
    EXPECT_TRUE(message.contains(u"qryFilial"_s) || message.contains(path)) << message.toStdString();
}

TEST_F(LocalDatabaseTest, TheConnectionIsReadOnly) {
    QSqlQuery insert(host::TdtmDBGeral::instance().adcGeral());
    EXPECT_FALSE(insert.exec(u"INSERT INTO FILIAL VALUES ('0009', 'X', 'N', '2026-03-01')"_s));
}

TEST_F(LocalDatabaseTest, TheBranchQueryFetchesEveryBranchInCodeOrder) {
    TADOIBQuery query(u"qryFilial"_s);
    declareBranchQuery(query);
    query.ParamByName(u"P_CDFILIAL"_s).Clear();
    query.ParamByName(u"P_TCDFILIAL"_s).SetAsString(u"T"_s);
    query.Open();
    ASSERT_TRUE(query.Active());
    QStringList codes;
    for (query.First(); !query.Eof(); query.Next())
        codes << query.FieldByName(u"CDFILIAL"_s).AsString();
    EXPECT_EQ(codes, (QStringList{u"0001"_s, u"0002"_s, u"0003"_s}));
    EXPECT_EQ(query.FieldByName(u"CDFILIAL"_s).DisplayLabel(), u"Código"_s);
}

TEST_F(LocalDatabaseTest, TheBranchQueryFetchesOneBranchWithTheFlagCleared) {
    TADOIBQuery query(u"qryFilial"_s);
    declareBranchQuery(query);
    query.ParamByName(u"P_CDFILIAL"_s).SetAsString(u"0003"_s);
    query.ParamByName(u"P_TCDFILIAL"_s).Clear();
    query.Open();
    ASSERT_EQ(query.RecordCount(), 1);
    EXPECT_EQ(query.FieldByName(u"NMFILIAL"_s).AsString(), u"Fábrica Sul"_s);
    // Reopened with other values, the same statement binds them in both places.
    query.ParamByName(u"P_CDFILIAL"_s).SetAsString(u"0009"_s);
    query.Open();
    EXPECT_TRUE(query.IsEmpty());
    query.ParamByName(u"P_TCDFILIAL"_s).SetAsString(u"T"_s);
    query.Open();
    EXPECT_EQ(query.RecordCount(), 3);
}

TEST_F(LocalDatabaseTest, AnUnknownParameterIsRefused) {
    TADOIBQuery query(u"qryFilial"_s);
    declareBranchQuery(query);
    EXPECT_TRUE(refusalOf([&] { query.ParamByName(u"P_CDSERVICO"_s); }).contains(u"P_CDSERVICO"_s));
    EXPECT_NO_THROW(query.ParamByName(u"p_cdfilial"_s));
}

TEST_F(LocalDatabaseTest, ColumnsConvertToTheDeclaredTypesOrAreTakenAsTheyCome) {
    TADOIBQuery typed(u"qryData"_s);
    typed.SQL = u"SELECT CDFILIAL, DTPROCESSO, 2.5 AS QT FROM FILIAL WHERE CDFILIAL = :C"_s;
    typed.AddStringField(u"CDFILIAL"_s, 4);
    typed.AddDateTimeField(u"DTPROCESSO"_s);
    typed.ParamByName(u"C"_s).SetAsString(u"0001"_s);
    typed.Open();
    EXPECT_EQ(typed.FieldByName(u"DTPROCESSO"_s).AsDateTime(), proto::fromCivil({2026, 3, 1}).days);

    TADOIBQuery open(u"qryLivre"_s);
    open.SQL = typed.SQL;
    open.ParamByName(u"C"_s).SetAsString(u"0001"_s);
    open.Open();
    EXPECT_EQ(open.FieldCount(), 3);
    EXPECT_EQ(open.FieldByName(u"QT"_s).AsFloat(), 2.5);
    EXPECT_EQ(open.FieldByName(u"DTPROCESSO"_s).AsString(), u"2026-03-01"_s);
}

TEST_F(LocalDatabaseTest, ADeclaredFieldTheStatementDoesNotReturnIsRefused) {
    TADOIBQuery query(u"qryFilial"_s);
    query.SQL = u"SELECT CDFILIAL FROM FILIAL"_s;
    query.AddStringField(u"CDFILIAL"_s, 4);
    query.AddStringField(u"NMFILIAL"_s, 30);
    EXPECT_TRUE(refusalOf([&] { query.Open(); }).contains(u"NMFILIAL"_s));
}

struct DialectCase {
    const char* driver;
    const char* slot; // which statement is chosen, or nullptr when none is
};

class DialectTest : public ::testing::TestWithParam<DialectCase> {};

TEST_P(DialectTest, TheDriverChoosesTheStatement) {
    TADOIBQuery query(u"qry"_s);
    query.SQL = u"SQL"_s;
    query.SQL_ORACLE = u"SQL_ORACLE"_s;
    query.SQL_MSSQL = u"SQL_MSSQL"_s;
    query.SQL_IB = u"SQL_IB"_s;
    const QString driver = QString::fromUtf8(GetParam().driver);
    if (GetParam().slot)
        EXPECT_EQ(TADOIBQuery::statementFor(query, driver), QString::fromUtf8(GetParam().slot));
    else
        EXPECT_THROW(TADOIBQuery::statementFor(query, driver), Refusal);
}

INSTANTIATE_TEST_SUITE_P(Drivers, DialectTest,
                         ::testing::Values(DialectCase{"QSQLITE", "SQL"}, DialectCase{"QPSQL", "SQL"},
                                           DialectCase{"QOCI", "SQL_ORACLE"},
                                           DialectCase{"QODBC", "SQL_MSSQL"}, DialectCase{"QIBASE", "SQL_IB"},
                                           DialectCase{"QMYSQL", nullptr}));

TEST_F(LocalDatabaseTest, SQLiteRunsTheSqlSlotOnly) {
    TADOIBQuery query(u"qry"_s);
    query.SQL = u"SELECT COUNT(*) AS N FROM FILIAL"_s;
    query.SQL_ORACLE = query.SQL_MSSQL = query.SQL_IB = u"not sql at all"_s;
    query.Open();
    EXPECT_EQ(query.FieldByName(u"N"_s).AsFloat(), 3.0);
    TADOIBQuery empty(u"qryVazia"_s);
    empty.SQL_ORACLE = u"SELECT 1"_s;
    EXPECT_TRUE(refusalOf([&] { empty.Open(); }).contains(u"qryVazia"_s));
}

struct PositionalCase {
    const char* statement;
    const char* expected;
    QStringList names;
};

class PositionalTest : public ::testing::TestWithParam<PositionalCase> {};

TEST_P(PositionalTest, RewritesNamedPlaceholders) {
    const auto result = TADOIBQuery::toPositional(QString::fromUtf8(GetParam().statement));
    EXPECT_EQ(result.statement, QString::fromUtf8(GetParam().expected));
    EXPECT_EQ(result.names, GetParam().names);
}

INSTANTIATE_TEST_SUITE_P(
    Statements, PositionalTest,
    ::testing::Values(PositionalCase{"A = :P_A OR :p_b = 'T' OR :P_A IS NULL",
                                     "A = ? OR ? = 'T' OR ? IS NULL",
                                     {u"P_A"_s, u"P_B"_s, u"P_A"_s}},
                      PositionalCase{
                          "X = ':NOT' AND Y = 'it''s :NOT'", "X = ':NOT' AND Y = 'it''s :NOT'", {}},
                      PositionalCase{"\"C:ODD\" = :V", "\"C:ODD\" = ?", {u"V"_s}},
                      PositionalCase{"A::text = :V -- :NOT\n/* :NOT */ AND :W",
                                     "A::text = ? -- :NOT\n/* :NOT */ AND ?",
                                     {u"V"_s, u"W"_s}},
                      PositionalCase{"T = '10:30' AND :X1", "T = '10:30' AND ?", {u"X1"_s}}));

struct BranchCheck {
    const char* name;
    const char* code;
    const char* op;
    bool checkRescinded;
    const char* refusal; // nullptr: accepted
    const char* branchName;
};

class ValidaFilialTest : public LocalDatabaseTest, public ::testing::WithParamInterface<BranchCheck> {};

TEST_P(ValidaFilialTest, AcceptsOrRefuses) {
    const auto& p = GetParam();
    const auto check = [&] {
        return host::ValidaFilial(QString::fromUtf8(p.code), QString::fromUtf8(p.op), p.checkRescinded);
    };
    if (!p.refusal) {
        EXPECT_EQ(check(), QString::fromUtf8(p.branchName));
        return;
    }
    const QString message = refusalOf([&] { check(); });
    EXPECT_EQ(message, QString::fromUtf8(p.refusal));
}

INSTANTIATE_TEST_SUITE_P(
    Branches, ValidaFilialTest,
    ::testing::Values(
        BranchCheck{"Valid", "0001", "MARIA", true, nullptr, "Hospital Central"},
        BranchCheck{"Empty", "", "MARIA", false, "Filial deve ser informada.", nullptr},
        BranchCheck{"Blank", "   ", "MARIA", true, "Filial deve ser informada.", nullptr},
        BranchCheck{"Unknown", "0009", "MARIA", false, "Filial não cadastrada.", nullptr},
        BranchCheck{"Rescinded", "0003", "MARIA", true, "Filial com contrato rescindido.", nullptr},
        BranchCheck{"RescindedNotChecked", "0003", "MARIA", false, nullptr, "Fábrica Sul"},
        BranchCheck{"NoAccess", "0002", "MARIA", true,
                    "O operador 'MARIA' não tem permissão para trabalhar na filial '0002'.", nullptr},
        BranchCheck{"OtherOperator", "0001", "JOAO", false,
                    "O operador 'JOAO' não tem permissão para trabalhar na filial '0001'.", nullptr}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

} // namespace
