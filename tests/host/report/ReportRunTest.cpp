#include "RefusalOf.h"
#include "ReportTestSupport.h"
#include "TestDatabase.h"

#include "host/context/OperatorContext.h"
#include "host/context/SettingsKeys.h"
#include "host/data/TClientDataSet.h"
#include "host/report/TReportDesignDialog.h"
#include "host/report/TReportTable.h"

#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace host;

namespace {

// The host's general database: a few days of one service's menu.
class ReportRun : public ::testing::Test {
protected:
    void SetUp() override {
        db.exec(R"(
            INSERT INTO FILIAL VALUES ('0001', 'Matriz', 'N', '2026-03-10'), ('0002', 'Filial; "Sul"', 'N', '2026-03-10');
            INSERT INTO CARDAPIO VALUES
                ('0001', '001', '2026-02-28', 1, 'P1', 'PP', 'N', 1),
                ('0001', '001', '2026-03-01', 1, 'P1', 'PP', 'N', 1),
                ('0001', '001', '2026-03-15', 1, 'P2', 'PP', 'S', 1),
                ('0001', '001', '2026-03-31', 1, 'P3', 'PP', 'N', 1),
                ('0001', '001', '2026-04-01', 1, 'P4', 'PP', 'N', 1);
        )");
        OperatorContext::instance().set(keys::kDatabasePath, QString::fromStdString(db.pathString()));
    }
    void TearDown() override { OperatorContext::instance().set(keys::kDatabasePath, {}); }

    TReportDefinition month() const {
        return {u"KDR60251"_s,
                u"01"_s,
                u"Pratos do mês"_s,
                u"SELECT DTCARDAPIO, CDPRATO FROM CARDAPIO WHERE CDFILIAL = :P_CDFILIAL "
                u"AND DTCARDAPIO BETWEEN :P_DTPRIMDIAMES AND :P_DTULTIDIAMES ORDER BY DTCARDAPIO"_s,
                {{u"DTCARDAPIO"_s, u"Dia"_s}, {u"CDPRATO"_s, u"Prato"_s}}};
    }

    TestDatabase db;
    TReportDesignDialog designer{nullptr, u"rpddPadrao"_s};
};

} // namespace

TEST_F(ReportRun, TheHandlerSeesEveryDeclaredParameterOnceAndTheQueryTakesItsValues) {
    QStringList seen;
    designer.BeforeGetQueryParams = [&](TReportParams& params, bool& proceed) {
        seen = params.Names();
        EXPECT_TRUE(proceed);
        params.ParamByName(u"P_CDFILIAL"_s).SetAsString(u"0001"_s);
        // Midnight of the first and the last day: both days belong to the month.
        params.ParamByName(u"P_DTPRIMDIAMES"_s).SetValue(TReportParams::DateTimeOf(46082));
        params.ParamByName(u"P_DTULTIDIAMES"_s).SetValue(TReportParams::DateTimeOf(46112));
    };
    const auto table = designer.Run(month());
    ASSERT_TRUE(table);
    EXPECT_EQ(seen, (QStringList{u"P_CDFILIAL"_s, u"P_DTPRIMDIAMES"_s, u"P_DTULTIDIAMES"_s}));
    EXPECT_EQ(table->Title, u"Pratos do mês"_s);
    EXPECT_EQ(table->Headers, (QStringList{u"Dia"_s, u"Prato"_s}));
    ASSERT_EQ(table->Rows.size(), 3u);
    EXPECT_EQ(table->Rows[0], (QStringList{u"2026-03-01"_s, u"P1"_s}));
    EXPECT_EQ(table->Rows[1], (QStringList{u"2026-03-15"_s, u"P2"_s}));
    EXPECT_EQ(table->Rows[2], (QStringList{u"2026-03-31"_s, u"P3"_s}));
}

TEST_F(ReportRun, AParameterLeftWithoutValueMatchesNothingInsteadOfEverything) {
    designer.BeforeGetQueryParams = [](TReportParams& params, bool&) {
        params.ParamByName(u"P_DTPRIMDIAMES"_s).SetValue(TReportParams::DateTimeOf(46082));
        params.ParamByName(u"P_DTULTIDIAMES"_s).SetValue(TReportParams::DateTimeOf(46112));
    };
    const auto table = designer.Run(month());
    ASSERT_TRUE(table);
    EXPECT_TRUE(table->Rows.empty());
}

TEST_F(ReportRun, AHandlerThatStopsTheReportRunsNoQueryAndOneThatFailsReachesTheCaller) {
    TReportDefinition broken = month();
    broken.Query = u"SELECT * FROM TABELA_QUE_NAO_EXISTE WHERE X = :P_CDFILIAL"_s;
    designer.BeforeGetQueryParams = [](TReportParams&, bool& proceed) { proceed = false; };
    EXPECT_FALSE(designer.Run(broken));
    designer.BeforeGetQueryParams = [](TReportParams&, bool&) { throw Refusal(u"servidor fora do ar"_s); };
    EXPECT_EQ(refusalOf([&] { designer.Run(month()); }), u"servidor fora do ar"_s);
}

TEST_F(ReportRun, AQueryWithoutParametersStillAsksTheHandlerAndABadQueryIsRefused) {
    int asked = 0;
    designer.BeforeGetQueryParams = [&](TReportParams& params, bool&) {
        ++asked;
        EXPECT_TRUE(params.Names().isEmpty());
    };
    TReportDefinition all{u"KDR60251"_s,
                          u"02"_s,
                          u"Filiais"_s,
                          u"SELECT NMFILIAL FROM FILIAL ORDER BY 1"_s,
                          {{u"NMFILIAL"_s, u"Nome"_s}}};
    const auto table = designer.Run(all);
    ASSERT_TRUE(table);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(table->Rows.size(), 2u);

    all.Query = u"SELEC NMFILIAL FROM FILIAL"_s;
    EXPECT_FALSE(refusalOf([&] { designer.Run(all); }).isEmpty());
    all.Query = u"SELECT NMFILIAL FROM FILIAL"_s;
    all.Columns.append({u"CDCIDADE"_s, u"Cidade"_s});
    EXPECT_TRUE(refusalOf([&] { designer.Run(all); }).contains(u"CDCIDADE"_s));
}

TEST_F(ReportRun, TheCsvKeepsEveryCellReadableBySpreadsheetsOfTheLocale) {
    TReportDefinition all{u"KDR60251"_s,
                          u"02"_s,
                          u"Filiais"_s,
                          u"SELECT CDFILIAL, NMFILIAL FROM FILIAL ORDER BY 1"_s,
                          {{u"CDFILIAL"_s, u"Código"_s}, {u"NMFILIAL"_s, u"Nome"_s}}};
    const auto table = designer.Run(all);
    ASSERT_TRUE(table);
    EXPECT_EQ(table->Csv(), QByteArray("\xEF\xBB\xBF") + u"Código;Nome\r\n"
                                                         u"0001;Matriz\r\n"
                                                         u"0002;\"Filial; \"\"Sul\"\"\"\r\n"_s.toUtf8());
}

TEST_F(ReportRun, ThePdfHoldsTheTitleTheHeadingsAndEveryRow) {
    ReportFoldersSetting folders;
    designer.BeforeGetQueryParams = [](TReportParams& params, bool&) {
        params.ParamByName(u"P_CDFILIAL"_s).SetAsString(u"0001"_s);
        params.ParamByName(u"P_DTPRIMDIAMES"_s).SetValue(TReportParams::DateTimeOf(46082));
        params.ParamByName(u"P_DTULTIDIAMES"_s).SetValue(TReportParams::DateTimeOf(46112));
    };
    const auto table = designer.Run(month());
    ASSERT_TRUE(table);
    const QString path = folders.file(u"mes.pdf"_s);
    table->WritePdf(path);
    const QString text = pdfText(path);
    EXPECT_TRUE(text.contains(u"Pratos do mês"_s)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"Dia"_s));
    for (const QString& day : {u"2026-03-01"_s, u"2026-03-15"_s, u"2026-03-31"_s})
        EXPECT_TRUE(text.contains(day)) << day.toStdString();
    EXPECT_FALSE(text.contains(u"2026-02-28"_s));
    EXPECT_TRUE(refusalOf([&] { table->WritePdf(folders.file(u"naoha/mes.pdf"_s)); }).contains(u"naoha"_s));
}

TEST(ReportDocument, HasOneTableRowPerReportRowBelowTheHeadings) {
    TReportTable table{u"T"_s, {u"A"_s, u"B"_s}, {{u"1"_s, u"2"_s}, {u"3"_s, u"4"_s}}, {}, {}};
    const auto document = table.Document();
    const QString text = document->toPlainText();
    EXPECT_TRUE(text.startsWith(u"T"_s));
    for (const QString& cell : {u"A"_s, u"B"_s, u"1"_s, u"2"_s, u"3"_s, u"4"_s})
        EXPECT_TRUE(text.contains(cell));
    EXPECT_LT(text.indexOf(u"B"_s), text.indexOf(u"1"_s));
    EXPECT_LT(text.indexOf(u"2"_s), text.indexOf(u"3"_s));
}

TEST(ReportDocument, NumbersLineUpOnTheRightAsInTheGrids) {
    TClientDataSet data(u"qryRelatorio"_s);
    data.AddStringField(u"NMITEM"_s, 20);
    data.AddFloatField(u"QTITEM"_s);
    proto::Packet packet;
    packet.fields = {{"NMITEM", proto::FieldType::String, 20}, {"QTITEM", proto::FieldType::Float, 0}};
    packet.rows = {{std::string("Calorias"), 1498.8}};
    data.LoadPacket(packet);
    TReportDefinition definition;
    definition.Title = u"Limites"_s;
    definition.Columns = {{u"NMITEM"_s, u"Nutriente"_s}, {u"QTITEM"_s, u"Qtde."_s}};
    const TReportTable table = TReportTable::From(definition, data);
    EXPECT_EQ(table.Rows.at(0).at(1), u"1498,8"_s) << "the format settings, whatever the machine's";
    const auto document = table.Document();
    QTextTable* grid = nullptr;
    for (QTextFrame* frame : document->rootFrame()->childFrames())
        if (auto* found = qobject_cast<QTextTable*>(frame))
            grid = found;
    ASSERT_NE(grid, nullptr);
    for (const int row : {0, 1}) {
        EXPECT_FALSE(grid->cellAt(row, 0).firstCursorPosition().blockFormat().alignment() & Qt::AlignRight);
        EXPECT_TRUE(grid->cellAt(row, 1).firstCursorPosition().blockFormat().alignment() & Qt::AlignRight)
            << row;
    }
}
