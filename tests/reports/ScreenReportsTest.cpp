#include "GeneratedDemo.h"
#include "RefusalOf.h"
#include "ScreenReportFixture.h"

#include "host/app/TPageControl.h"
#include "host/app/TTabSheet.h"
#include "host/context/OperatorContext.h"
#include "host/context/SettingsKeys.h"
#include "host/edit/TDateEditPlus.h"
#include "host/edit/TEdit.h"
#include "host/edit/TMaskEdit.h"
#include "host/report/TReportDesigner.h"
#include "module/Cli_kdr60251.h"

#include <QApplication>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace host;

namespace {

const QStringList kOffered{u"01"_s, u"02"_s, u"03"_s};

QString dateText(const QVariant& value) {
    return value.toDateTime().toString(u"yyyy-MM-dd HH:mm"_s);
}

} // namespace

TEST_F(ScreenReportTest, TheFirstActivationOffersTheShippedReportsWithoutTheDiscontinuedOnes) {
    EXPECT_EQ(form->Reports.Codes(), kOffered);
    EXPECT_EQ(form->Reports.Items().size(), 3);
    EXPECT_EQ(form->Reports.DefinitionPaths().size(), 3);
    EXPECT_EQ(form->cmbRelatorio->count(), 3);
}

TEST_F(ScreenReportTest, PrintingWithNoMarkedServiceRefusesWithTheServicesInFrontAndPrintsNothing) {
    form->Show();
    form->pgcVerifica->SetActivePage(form->tshOpcoes);
    QTest::mouseClick(form->sbtPrint, Qt::LeftButton);
    EXPECT_EQ(seam.recorder().errors, QStringList{u"Serviço deve ser selecionado."_s});
    EXPECT_EQ(form->pgcVerifica->ActivePage(), form->tshVerificar);
    EXPECT_EQ(form->pgcPadrao->ActivePage(), form->tshServicos);
    EXPECT_TRUE(devices.devices().printed.empty());
    EXPECT_TRUE(received.empty());
    for (const auto& command : {std::function<void()>([&] { form->sbtPreviewClick(); }),
                                std::function<void()>([&] { form->sbtSalvarComoClick(); })})
        EXPECT_EQ(refusalOf(command), u"Serviço deve ser selecionado."_s);
    EXPECT_TRUE(devices.devices().previewed.empty());
    EXPECT_TRUE(seam.recorder().saveTitles.isEmpty());
}

TEST_F(ScreenReportTest, ABranchTheOperatorMayNotUseIsRefusedBeforeAnythingRuns) {
    mark({u"002"_s});
    form->medCdFilial->SetText(u"3"_s);
    EXPECT_FALSE(refusalOf([&] { form->sbtPrintClick(); }).isEmpty());
    // Normalised before it was checked.
    EXPECT_EQ(form->medCdFilial->Text(), u"0003"_s);
    EXPECT_TRUE(devices.devices().printed.empty());
    EXPECT_TRUE(received.empty());
}

TEST_F(ScreenReportTest, AnInvalidMonthEntryStopsPrintingAndEditing) {
    mark({u"002"_s});
    form->depMes->SetText(u"13/2026"_s);
    int designed = 0;
    form->rpddPadrao->ExecDesigner = [&](TReportDesigner&) { return ++designed, false; };
    EXPECT_FALSE(refusalOf([&] { form->sbtPrintClick(); }).isEmpty());
    EXPECT_FALSE(refusalOf([&] { form->sbtReportEditClick(); }).isEmpty());
    EXPECT_EQ(designed, 0);
    EXPECT_TRUE(devices.devices().printed.empty());
}

TEST_F(ScreenReportTest, EditingNeedsNeitherABranchNorAMarkedService) {
    form->medCdFilial->SetText({});
    int designed = 0;
    form->rpddPadrao->ExecDesigner = [&](TReportDesigner& designer) {
        ++designed;
        EXPECT_EQ(designer.edtTitulo->text(), u"Cardápio do mês dos serviços"_s);
        return false;
    };
    QTest::mouseClick(form->sbtReportEdit, Qt::LeftButton);
    EXPECT_EQ(seam.recorder().errors, QStringList());
    EXPECT_EQ(designed, 1);
}

TEST_F(ScreenReportTest, AReportNeedsNoOptionAndNoAnalysisAndPrintsTheMonthsMenu) {
    mark({u"002"_s});
    form->sbtPrintClick();
    ASSERT_EQ(devices.devices().printed.size(), 1u);
    const TReportTable& table = devices.devices().printed[0];
    EXPECT_EQ(table.Headers, (QStringList{u"Serviço"_s, u"Dia"_s, u"Tipo"_s, u"Prato"_s, u"Opção"_s}));
    ASSERT_FALSE(table.Rows.empty());
    const QStringList option{u"002"_s, u"01/03/2026"_s, u"Prato Principal"_s, u"Omelete de Queijo"_s,
                             u"(Opção)"_s};
    EXPECT_NE(std::find(table.Rows.begin(), table.Rows.end(), option), table.Rows.end());
    for (const QStringList& row : table.Rows) {
        EXPECT_EQ(row.at(0), u"002"_s);
        EXPECT_TRUE(row.at(1).endsWith(u"/03/2026"_s)) << row.at(1).toStdString();
    }
    EXPECT_EQ(table.Rows.front().at(1), u"01/03/2026"_s);
    EXPECT_EQ(table.Rows.back().at(1), u"31/03/2026"_s);

    form->sbtPreviewClick();
    ASSERT_EQ(devices.devices().previewed.size(), 1u);
    EXPECT_EQ(devices.devices().previewed[0].Rows, table.Rows);
}

TEST_F(ScreenReportTest, AQueryDeclaringOnlyTheBranchGetsOnlyItButTheWeekAndTheListAreStillFetched) {
    mark({u"004"_s});
    addReport(u"09"_s, u"SELECT NMFILIAL FROM FILIAL WHERE CDFILIAL = :P_CDFILIAL"_s,
              {{u"NMFILIAL"_s, u"Filial"_s}});
    if (form->cdsDataSemana.Active())
        form->cdsDataSemana.EmptyDataSet();
    stListaServ = u"_velha"_s;
    form->sbtPrintClick();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].keys(), QStringList{u"P_CDFILIAL"_s});
    EXPECT_EQ(received[0].value(u"P_CDFILIAL"_s).toString(), u"0001"_s);
    EXPECT_FALSE(form->cdsDataSemana.IsEmpty());
    EXPECT_EQ(stListaServ, u"_004"_s);
    ASSERT_EQ(devices.devices().printed.size(), 1u);
    ASSERT_EQ(devices.devices().printed[0].Rows.size(), 1u);
}

TEST_F(ScreenReportTest, EveryParameterCarriesTheBranchTheMarkedServicesTheMonthAndTheWeekSpan) {
    mark({u"004"_s, u"002"_s});
    addReport(
        u"09"_s,
        u"SELECT :P_CDSERVFILI AS LISTA, :P_DTPRIMDIASEM AS S1, :P_DTULTIDIASEM AS S2, "
        u":P_DTPRIMDIAMES AS M1, :P_DTULTIDIAMES AS M2, :P_OUTRO AS OUTRO"_s,
        {{u"LISTA"_s, {}}, {u"S1"_s, {}}, {u"S2"_s, {}}, {u"M1"_s, {}}, {u"M2"_s, {}}, {u"OUTRO"_s, {}}});
    form->sbtSalvarComoClick(); // the dialog is not answered: nothing is run
    EXPECT_TRUE(received.empty());
    seam.recorder().saveAnswer = folders.file(u"parametros.csv"_s);
    form->sbtSalvarComoClick();
    ASSERT_EQ(received.size(), 1u);
    const auto& values = received[0];
    // The list follows the service list's order, not the order of marking.
    EXPECT_EQ(values.value(u"P_CDSERVFILI"_s).toString(), u"_002_004"_s);
    EXPECT_EQ(dateText(values.value(u"P_DTPRIMDIASEM"_s)), u"2026-02-23 00:00"_s);
    EXPECT_EQ(dateText(values.value(u"P_DTULTIDIASEM"_s)), u"2026-04-05 00:00"_s);
    EXPECT_EQ(dateText(values.value(u"P_DTPRIMDIAMES"_s)), u"2026-03-01 00:00"_s);
    EXPECT_EQ(dateText(values.value(u"P_DTULTIDIAMES"_s)), u"2026-03-31 00:00"_s);
    // A parameter of another name is left as it was.
    EXPECT_TRUE(values.value(u"P_OUTRO"_s).isNull());
    EXPECT_EQ(fileBytes(folders.file(u"parametros.csv"_s)),
              QByteArray("\xEF\xBB\xBF") + "LISTA;S1;S2;M1;M2;OUTRO\r\n"
                                           "_002_004;2026-02-23;2026-04-05;2026-03-01;2026-03-31;\r\n");
}

TEST_F(ScreenReportTest, AWeekFetchThatFailsEndsTheReportWithNoParameterSet) {
    mark({u"002"_s});
    form->Show();
    // The screen's connection now points at a server that is gone.
    auto gone = std::make_unique<ServerProcess>(generatedDemo().string());
    OperatorContext::instance().set(keys::kServerPort, QString::number(gone->port()));
    form->netAnalRestCont.Disconnect();
    form->netAnalRestCont.Connect();
    ASSERT_EQ(form->netAnalRestCont.Port, gone->port());
    gone->stop();
    QTest::mouseClick(form->sbtPrint, Qt::LeftButton);
    EXPECT_EQ(seam.recorder().errors.size(), 1);
    EXPECT_TRUE(received.empty());
    EXPECT_TRUE(devices.devices().printed.empty());
}

TEST_F(ScreenReportTest, EveryPopupCommandEndsWithTheDiscontinuedReportsGoneAgain) {
    seam.recorder().messageAnswer = mrYes;
    form->rpddPadrao->ExecDesigner = [](TReportDesigner&) { return false; };
    const struct {
        const char* name;
        std::function<void()> command;
    } commands[] = {
        {"novo", [&] { form->mnuNovoRel->trigger(); }},
        {"editar", [&] { form->mnuEditRel->trigger(); }},
        {"padrao", [&] { form->mnuRelatPadr->trigger(); }},
    };
    for (const auto& c : commands) {
        // Back in the lists, as a command that reloads them would bring them.
        form->Reports.Add(u"Antigo"_s, u"0Y"_s, folders.file(u"a.json"_s));
        form->Reports.Add(u"Antigo"_s, u"0C"_s, folders.file(u"b.json"_s));
        form->cmbRelatorio->setCurrentIndex(0);
        c.command();
        EXPECT_EQ(form->Reports.Codes(), kOffered) << c.name;
        EXPECT_EQ(form->Reports.Items().size(), 3) << c.name;
        EXPECT_EQ(form->Reports.DefinitionPaths().size(), 3) << c.name;
    }
    EXPECT_EQ(seam.recorder().errors, QStringList());
}

TEST_F(ScreenReportTest, TheStandardReportsCommandBringsTheShippedBackAndKeepsTheDiscontinuedOut) {
    seam.recorder().messageAnswer = mrYes;
    form->Reports.DeleteAt(0);
    form->mnuRelatPadrClick();
    EXPECT_EQ(form->Reports.Codes(), kOffered);
}

TEST_F(ScreenReportTest, ASavedPdfOfEachShippedReportHoldsItsRows) {
    mark({u"002"_s});
    const struct {
        int position;
        QStringList expected;
    } cases[] = {
        {0, {u"Omelete de Queijo"_s, u"(Opção)"_s, u"01/03/2026"_s, u"31/03/2026"_s}},
        {1, {u"Feijoada"_s, u"Bife Acebolado"_s, u"Carnes Bovinas"_s}},
        {2, {u"Arroz Branco"_s, u"Vezes no cardápio"_s, u"06"_s}},
    };
    for (const auto& c : cases) {
        form->cmbRelatorio->setCurrentIndex(c.position);
        const QString path = folders.file(u"r%1.pdf"_s.arg(c.position));
        seam.recorder().saveAnswer = path;
        form->sbtSalvarComoClick();
        const QString text = pdfText(path);
        for (const QString& expected : c.expected)
            EXPECT_TRUE(text.contains(expected)) << c.position << " " << expected.toStdString();
    }
}

TEST_F(ScreenReportTest, DiscontinuedCodesLeaveTheThreeListsInStep) {
    const auto fill = [&](const QStringList& codes) {
        form->Reports.Clear();
        for (const QString& code : codes)
            form->Reports.Add(u"Relatório "_s + code, code, u"/rel/"_s + code);
    };
    const struct {
        const char* name;
        QStringList before;
        QStringList after;
    } cases[] = {
        {"none of the twenty",
         {u"01"_s, u"02"_s, u"0A"_s, u"0B"_s, u"0Z"_s},
         {u"01"_s, u"02"_s, u"0A"_s, u"0B"_s, u"0Z"_s}},
        {"first and last", {u"0C"_s, u"01"_s, u"0Y"_s, u"02"_s}, {u"01"_s, u"02"_s}},
        {"skipped letters stay", {u"0W"_s, u"0L"_s, u"0K"_s, u"0M"_s}, {u"0W"_s, u"0L"_s, u"0K"_s}},
        {"exact match only", {u"0y"_s, u"0Y "_s, u"00Y"_s}, {u"0y"_s, u"0Y "_s, u"00Y"_s}},
        {"first of two only", {u"0X"_s, u"01"_s, u"0X"_s}, {u"01"_s, u"0X"_s}},
        {"all twenty",
         {u"0Y"_s, u"0X"_s, u"0V"_s, u"0U"_s, u"0T"_s, u"0S"_s, u"0R"_s, u"0Q"_s, u"0P"_s, u"0O"_s, u"0N"_s,
          u"0M"_s, u"0J"_s, u"0I"_s, u"0H"_s, u"0G"_s, u"0F"_s, u"0E"_s, u"0D"_s, u"0C"_s, u"99"_s},
         {u"99"_s}},
    };
    for (const auto& c : cases) {
        fill(c.before);
        form->RelDescontinuados();
        EXPECT_EQ(form->Reports.Codes(), c.after) << c.name;
        QStringList items, paths;
        for (const QString& code : c.after) {
            items << u"Relatório "_s + code;
            paths << u"/rel/"_s + code;
        }
        EXPECT_EQ(form->Reports.Items(), items) << c.name;
        EXPECT_EQ(form->Reports.DefinitionPaths(), paths) << c.name;
    }
}
