#include "RefusalOf.h"
#include "ReportTestSupport.h"
#include "TestDatabase.h"

#include "host/context/OperatorContext.h"
#include "host/context/SettingsKeys.h"
#include "host/report/ReportFolders.h"
#include "host/report/TReportDesignDialog.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace host;

namespace {

// Services whose codes are prefixes of one another, each with its own dish on one day of March and
// its own restriction.
class ShippedReports : public ::testing::Test {
protected:
    void SetUp() override {
        db.exec(R"(
            INSERT INTO FILIAL VALUES ('0001', 'Matriz', 'N', '2026-03-10');
            INSERT INTO SERVFILI VALUES ('0001', '1', 'Um'), ('0001', '12', 'Doze'), ('0001', '123', 'Cento');
            INSERT INTO TIPOPRAT VALUES ('PP', 'Principal');
            INSERT INTO PRATO VALUES ('A', 'Prato do um', 'N', NULL), ('B', 'Prato do doze', 'N', NULL),
                                     ('C', 'Prato do cento', 'N', NULL);
            INSERT INTO CARDAPIO VALUES ('0001', '1', '2026-03-02', 1, 'A', 'PP', 'N', 1),
                                        ('0001', '12', '2026-03-02', 1, 'B', 'PP', 'S', 1),
                                        ('0001', '123', '2026-03-02', 1, 'C', 'PP', 'N', 1),
                                        ('0001', '12', '2026-03-09', 1, 'B', 'PP', 'N', 1),
                                        ('0001', '12', '2026-03-10', 1, 'B', 'PP', 'N', 1);
            INSERT INTO CTRRESTPRAT VALUES ('0001', '1', 'A', 'N'), ('0001', '12', 'B', 'S'), ('0001', '123', 'C', 'N');
            INSERT INTO CTRFREQPRAT VALUES ('0001', '12', 'B', 'N', 2, NULL, 8.5);
        )");
        OperatorContext::instance().set(keys::kDatabasePath, QString::fromStdString(db.pathString()));
        OperatorContext::instance().set(keys::kReportsStandardFolder, {});
    }
    void TearDown() override { OperatorContext::instance().set(keys::kDatabasePath, {}); }

    TReportTable run(const QString& code, const QString& services) {
        const QString path =
            QDir(StandardReportsFolder()).filePath(TReportDefinition::FileName(u"KDR60251"_s, code));
        designer.BeforeGetQueryParams = [&](TReportParams& params, bool&) {
            const std::pair<QString, QVariant> values[] = {
                {u"P_CDFILIAL"_s, u"0001"_s},
                {u"P_CDSERVFILI"_s, services},
                {u"P_DTPRIMDIASEM"_s, TReportParams::DateTimeOf(46076)}, // 2026-02-23
                {u"P_DTULTIDIASEM"_s, TReportParams::DateTimeOf(46117)}, // 2026-04-05
                {u"P_DTPRIMDIAMES"_s, TReportParams::DateTimeOf(46082)},
                {u"P_DTULTIDIAMES"_s, TReportParams::DateTimeOf(46112)},
            };
            for (const auto& [name, value] : values)
                if (ExistParam(params, name))
                    params.ParamByName(name).SetValue(value);
        };
        const auto table = designer.Run(TReportDefinition::Load(path));
        EXPECT_TRUE(table);
        return table ? *table : TReportTable{};
    }

    static QStringList column(const TReportTable& table, int index) {
        QStringList values;
        for (const QStringList& row : table.Rows)
            values << row.at(index);
        return values;
    }

    TestDatabase db;
    TReportDesignDialog designer{nullptr, u"rpddPadrao"_s};
};

} // namespace

TEST_F(ShippedReports, TheScreenShipsItsReportsAndTwoDiscontinuedOnes) {
    QStringList codes;
    for (const ReportFile& file : ListReportFiles(StandardReportsFolder(), u"KDR60251"_s)) {
        codes << file.Code;
        EXPECT_NO_THROW(TReportDefinition::Load(file.Path).CheckComplete()) << file.Code.toStdString();
    }
    EXPECT_EQ(codes, (QStringList{u"01"_s, u"02"_s, u"03"_s, u"0C"_s, u"0Y"_s}));
}

TEST_F(ShippedReports, AServiceCodeThatIsAPrefixOfAnotherNeverBringsTheOthersRows) {
    const struct {
        QString list;
        QStringList services;
    } cases[] = {
        {u"_1"_s, {u"1"_s}},     {u"_12"_s, {u"12"_s, u"12"_s, u"12"_s}},
        {u"_123"_s, {u"123"_s}}, {u"_1_123"_s, {u"1"_s, u"123"_s}},
        {u"_2"_s, {}},           {u""_s, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(column(run(u"01"_s, c.list), 0), c.services) << c.list.toStdString();
    EXPECT_EQ(column(run(u"02"_s, u"_1"_s), 0), QStringList{u"1"_s});
    // Two weeks of the one service: one row each.
    EXPECT_EQ(column(run(u"03"_s, u"_12"_s), 0), (QStringList{u"12"_s, u"12"_s}));
}

TEST_F(ShippedReports, TheMonthsMenuShowsDayTypeDishAndTheOptionMark) {
    const TReportTable table = run(u"01"_s, u"_12"_s);
    ASSERT_EQ(table.Rows.size(), 3u);
    EXPECT_EQ(table.Rows[0],
              (QStringList{u"12"_s, u"02/03/2026"_s, u"Principal"_s, u"Prato do doze"_s, u"(Opção)"_s}));
    EXPECT_EQ(table.Rows[1],
              (QStringList{u"12"_s, u"09/03/2026"_s, u"Principal"_s, u"Prato do doze"_s, u""_s}));
}

TEST_F(ShippedReports, TheRestrictionsListEveryKindWithItsLimits) {
    const TReportTable table = run(u"02"_s, u"_12"_s);
    ASSERT_EQ(table.Rows.size(), 2u);
    EXPECT_EQ(table.Rows[0], (QStringList{u"12"_s, u"Frequência de prato"_s, u"B"_s, u"Prato do doze"_s,
                                          u"semana até 2; mês de sem limite a 8,5"_s}));
    EXPECT_EQ(table.Rows[1], (QStringList{u"12"_s, u"Opção proibida"_s, u"B"_s, u"Prato do doze"_s, u""_s}));
}

TEST_F(ShippedReports, TheWeeklyCountsNumberTheWeeksFromTheSpansMonday) {
    const TReportTable table = run(u"03"_s, u"_12"_s);
    // 2 March is in the second week of a span starting on 23 February; 9 and 10 March in the third.
    ASSERT_EQ(table.Rows.size(), 2u);
    EXPECT_EQ(table.Rows[0], (QStringList{u"12"_s, u"02"_s, u"Prato do doze"_s, u"0"_s, u"1"_s}));
    EXPECT_EQ(table.Rows[1], (QStringList{u"12"_s, u"03"_s, u"Prato do doze"_s, u"2"_s, u"0"_s}));
}
