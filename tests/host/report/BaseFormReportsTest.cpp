#include "GuiTestSupport.h"
#include "RefusalOf.h"
#include "ReportTestSupport.h"
#include "TestDatabase.h"

#include "host/app/TApplication.h"
#include "host/app/TfrmDadosGerRel.h"
#include "host/context/OperatorContext.h"
#include "host/context/SettingsKeys.h"
#include "host/report/ReportFolders.h"
#include "host/report/TReportDesigner.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace host;

namespace {

// A screen as the suite's screens are: its code on lblCodTela before the form is created, and its own
// print handler in front of the base one.
class TestScreen : public TfrmDadosGerRel {
public:
    explicit TestScreen(QWidget* owner) : TfrmDadosGerRel(owner) { lblCodTela->SetCaption(u"KDR60251"_s); }
    void sbtPrintClick() override {
        ++screenPrints;
        if (refuse)
            throw Refusal(u"Serviço deve ser selecionado."_s);
        TfrmDadosGerRel::sbtPrintClick();
    }
    int screenPrints = 0;
    bool refuse = false;
};

TReportDefinition branches(const QString& code, const QString& title) {
    return {u"KDR60251"_s,
            code,
            title,
            u"SELECT CDFILIAL, NMFILIAL FROM FILIAL WHERE CDFILIAL <> :P_CDFILIAL ORDER BY CDFILIAL"_s,
            {{u"CDFILIAL"_s, u"Código"_s}, {u"NMFILIAL"_s, u"Filial"_s}}};
}

class BaseFormReports : public ::testing::Test {
protected:
    void SetUp() override {
        db.exec("INSERT INTO FILIAL VALUES ('0001', 'Matriz', 'N', '2026-03-10'), ('0002', 'Litoral', 'N', "
                "'2026-03-10'), ('0003', 'Serra', 'N', '2026-03-10');");
        OperatorContext::instance().set(keys::kDatabasePath, QString::fromStdString(db.pathString()));
        first = writeDefinition(folders.folder(), branches(u"01"_s, u"Filiais"_s));
        second = writeDefinition(folders.folder(), branches(u"02"_s, u"Filiais de novo"_s));
        TReportDefinition other = branches(u"03"_s, u"De outra tela"_s);
        other.Screen = u"KDR99999"_s;
        writeDefinition(folders.folder(), other);
        Application().MainForm()->show();
        form = Application().CreateForm<TestScreen>();
        form->rpddPadrao->BeforeGetQueryParams = [this](TReportParams& params, bool&) {
            ++queries;
            if (ExistParam(params, u"P_CDFILIAL"_s))
                params.ParamByName(u"P_CDFILIAL"_s).SetAsString(u"0002"_s);
        };
    }
    void TearDown() override { OperatorContext::instance().set(keys::kDatabasePath, {}); }

    TestDatabase db;
    ReportFoldersSetting folders;
    ReportDevicesSeam devices;
    GuiDialogSeam seam;
    QPointer<TestScreen> form;
    QString first, second;
    int queries = 0;
};

} // namespace

TEST_F(BaseFormReports, OffersTheScreensDefinitionsWithTheThreeListsInStep) {
    EXPECT_EQ(form->Reports.Items(), (QStringList{u"Filiais"_s, u"Filiais de novo"_s}));
    EXPECT_EQ(form->Reports.Codes(), (QStringList{u"01"_s, u"02"_s}));
    EXPECT_EQ(form->Reports.DefinitionPaths(), (QStringList{first, second}));
    EXPECT_EQ(form->cmbRelatorio->currentIndex(), 0);
}

TEST_F(BaseFormReports, ThePrintButtonRunsTheScreensHandlerWhichPrintsTheChosenReport) {
    form->Show();
    form->cmbRelatorio->setCurrentIndex(1);
    QTest::mouseClick(form->sbtPrint, Qt::LeftButton);
    EXPECT_EQ(seam.recorder().errors, QStringList());
    EXPECT_EQ(form->screenPrints, 1);
    ASSERT_EQ(devices.devices().printed.size(), 1u);
    const TReportTable& table = devices.devices().printed[0];
    EXPECT_EQ(table.Title, u"Filiais de novo"_s);
    EXPECT_EQ(table.Headers, (QStringList{u"Código"_s, u"Filial"_s}));
    ASSERT_EQ(table.Rows.size(), 2u);
    EXPECT_EQ(table.Rows[0], (QStringList{u"0001"_s, u"Matriz"_s}));
    EXPECT_EQ(table.Rows[1], (QStringList{u"0003"_s, u"Serra"_s}));

    form->refuse = true;
    QTest::mouseClick(form->sbtPrint, Qt::LeftButton);
    EXPECT_EQ(seam.recorder().lastError(), u"Serviço deve ser selecionado."_s);
    EXPECT_EQ(devices.devices().printed.size(), 1u);
    EXPECT_EQ(queries, 1);
}

TEST_F(BaseFormReports, ADefinitionFileGoneSinceTheListWasMadeIsReportedWithCodeAndFolder) {
    ASSERT_TRUE(QFile::remove(second));
    form->cmbRelatorio->setCurrentIndex(1);
    const QString expected =
        u"O arquivo contendo a definição do Relatório de código '02' não foi encontrado no "
        u"diretório '%1'."_s.arg(QDir(folders.folder()).absolutePath());
    EXPECT_EQ(refusalOf([&] { form->sbtPrintClick(); }), expected);
    EXPECT_EQ(refusalOf([&] { form->sbtPreviewClick(); }), expected);
    EXPECT_EQ(refusalOf([&] { form->sbtReportEditClick(); }), expected);
    EXPECT_TRUE(devices.devices().printed.empty());
    EXPECT_EQ(queries, 0);
}

TEST_F(BaseFormReports, WithNothingChosenEveryCommandOnTheChosenReportSaysSo) {
    form->Reports.Clear();
    for (const auto& command : std::vector<std::function<void()>>{
             [&] { form->sbtPrintClick(); }, [&] { form->sbtPreviewClick(); },
             [&] { form->sbtSalvarComoClick(); }, [&] { form->sbtReportEditClick(); },
             [&] { form->mnuEditRelClick(); }})
        EXPECT_TRUE(refusalOf(command).contains(u"Escolha um relatório"_s));
}

TEST_F(BaseFormReports, PreviewShowsTheSameTableThatPrintingWould) {
    form->sbtPreviewClick();
    ASSERT_EQ(devices.devices().previewed.size(), 1u);
    EXPECT_EQ(devices.devices().previewed[0].Rows.size(), 2u);
    EXPECT_TRUE(devices.devices().printed.empty());
}

TEST_F(BaseFormReports, SaveAsWritesCsvOrPdfByTheChosenNameAndACancelRunsNothing) {
    seam.recorder().saveAnswer = folders.file(u"filiais.CSV"_s);
    form->sbtSalvarComoClick();
    EXPECT_EQ(fileBytes(folders.file(u"filiais.CSV"_s)),
              QByteArray("\xEF\xBB\xBF") + u"Código;Filial\r\n0001;Matriz\r\n0003;Serra\r\n"_s.toUtf8());

    seam.recorder().saveAnswer = folders.file(u"filiais"_s);
    form->sbtSalvarComoClick();
    const QString text = pdfText(folders.file(u"filiais.pdf"_s));
    EXPECT_TRUE(text.contains(u"Filiais"_s));
    EXPECT_TRUE(text.contains(u"Matriz"_s));
    EXPECT_TRUE(text.contains(u"Serra"_s));
    EXPECT_FALSE(text.contains(u"Litoral"_s));
    EXPECT_EQ(queries, 2);

    seam.recorder().saveAnswer.reset();
    form->sbtSalvarComoClick();
    EXPECT_EQ(queries, 2);
    EXPECT_EQ(seam.recorder().saveTitles.size(), 3);
}

TEST_F(BaseFormReports, WithoutAPrinterPrintingWritesThePdfAndSaysWhere) {
    // The host's own devices: there is no printer offscreen.
    host::setReportDevices(nullptr);
    form->sbtPrintClick();
    ASSERT_EQ(seam.recorder().messages.size(), 1u);
    const QString message = seam.recorder().messages[0].text;
    const qsizetype start = message.indexOf(folders.print());
    ASSERT_GE(start, 0) << message.toStdString();
    const QString path = message.mid(start, message.indexOf(u".pdf"_s, start) + 4 - start);
    const QString text = pdfText(path);
    EXPECT_TRUE(text.contains(u"Matriz"_s)) << path.toStdString();
    EXPECT_TRUE(text.contains(u"Serra"_s));
}

TEST_F(BaseFormReports, EditingGoesThroughTheDesignerAndSavesTitleQueryAndColumns) {
    form->Reports.DeleteAt(0);
    form->cmbRelatorio->setCurrentIndex(0);
    form->rpddPadrao->ExecDesigner = [](TReportDesigner& designer) {
        designer.show();
        EXPECT_EQ(designer.edtTitulo->text(), u"Filiais de novo"_s);
        EXPECT_EQ(designer.grdColunas->rowCount(), 2);
        designer.edtTitulo->setText(u"Filiais por nome"_s);
        designer.memConsulta->setPlainText(u"SELECT NMFILIAL, DTPROCESSO FROM FILIAL ORDER BY NMFILIAL"_s);
        designer.grdColunas->setCurrentCell(0, 0);
        designer.btnExcluiColuna->click();
        designer.btnIncluiColuna->click();
        designer.grdColunas->item(1, 0)->setText(u"dtprocesso"_s);
        designer.grdColunas->item(1, 1)->setText(u"Processamento"_s);
        designer.btnSalvar->click();
        return designer.result() == QDialog::Accepted;
    };
    form->sbtReportEditClick();
    EXPECT_EQ(seam.recorder().errors, QStringList());
    const TReportDefinition saved = TReportDefinition::Load(second);
    EXPECT_EQ(saved.Code, u"02"_s);
    EXPECT_EQ(saved.Title, u"Filiais por nome"_s);
    EXPECT_EQ(saved.Query, u"SELECT NMFILIAL, DTPROCESSO FROM FILIAL ORDER BY NMFILIAL"_s);
    EXPECT_EQ(saved.Columns,
              (QList<TReportColumn>{{u"NMFILIAL"_s, u"Filial"_s}, {u"DTPROCESSO"_s, u"Processamento"_s}}));
    // The entry the screen had removed stays removed; only the edited one is renamed.
    EXPECT_EQ(form->Reports.Items(), (QStringList{u"Filiais por nome"_s}));
    EXPECT_EQ(form->Reports.Codes(), (QStringList{u"02"_s}));

    form->sbtPrintClick();
    ASSERT_EQ(devices.devices().printed.size(), 1u);
    EXPECT_EQ(devices.devices().printed[0].Rows[0], (QStringList{u"Litoral"_s, u"2026-03-10"_s}));
}

TEST_F(BaseFormReports, TheDesignerRefusesAnIncompleteDefinitionAndAClosedDesignerChangesNothing) {
    const QByteArray before = fileBytes(first);
    form->rpddPadrao->ExecDesigner = [this](TReportDesigner& designer) {
        designer.show();
        designer.memConsulta->clear();
        designer.btnSalvar->click();
        EXPECT_TRUE(seam.recorder().lastError().contains(u"consulta"_s));
        EXPECT_NE(designer.result(), QDialog::Accepted);
        EXPECT_TRUE(designer.isVisible());
        designer.btnCancelar->click();
        return designer.result() == QDialog::Accepted;
    };
    form->sbtReportEditClick();
    form->mnuEditRelClick();
    EXPECT_EQ(seam.recorder().errors.size(), 2);
    EXPECT_EQ(fileBytes(first), before);
}

TEST_F(BaseFormReports, ANewReportAsksItsTitleTakesAFreeCodeAndIsOfferedOnceSaved) {
    seam.recorder().inputAnswer = u"  Consumo  "_s;
    form->rpddPadrao->ExecDesigner = [](TReportDesigner& designer) {
        designer.show();
        EXPECT_EQ(designer.edtTitulo->text(), u"Consumo"_s);
        EXPECT_TRUE(designer.memConsulta->toPlainText().isEmpty());
        designer.memConsulta->setPlainText(u"SELECT NMFILIAL FROM FILIAL"_s);
        designer.btnIncluiColuna->click();
        designer.grdColunas->item(0, 0)->setText(u"NMFILIAL"_s);
        designer.btnSalvar->click();
        return designer.result() == QDialog::Accepted;
    };
    form->mnuNovoRelClick();
    EXPECT_EQ(seam.recorder().inputPrompts, (QStringList{u"Informe o título do relatório:"_s}));
    // Another screen's report 03 leaves the code free for this one.
    const QString path = QDir(folders.folder()).absoluteFilePath(u"KDR60251_03.json"_s);
    ASSERT_TRUE(QFile::exists(path));
    EXPECT_EQ(TReportDefinition::Load(path).Title, u"Consumo"_s);
    EXPECT_EQ(form->Reports.Codes(), (QStringList{u"01"_s, u"02"_s, u"03"_s}));
    EXPECT_EQ(form->Reports.DefinitionPaths().last(), path);
    EXPECT_EQ(form->cmbRelatorio->currentText(), u"Consumo"_s);
}

TEST_F(BaseFormReports, ANewReportCancelledAtThePromptOrInTheDesignerLeavesNoTrace) {
    form->rpddPadrao->ExecDesigner = [](TReportDesigner&) { return false; };
    form->mnuNovoRelClick();
    seam.recorder().inputAnswer = u"Consumo"_s;
    form->mnuNovoRelClick();
    seam.recorder().inputAnswer = u"   "_s;
    EXPECT_TRUE(refusalOf([&] { form->mnuNovoRelClick(); }).contains(u"título"_s));
    EXPECT_EQ(form->Reports.Count(), 2);
    EXPECT_EQ(ListReportFiles(folders.folder(), u"KDR60251"_s).size(), 2u);
}

TEST_F(BaseFormReports, StandardReportsAreRestoredOnlyWhenTheUserAgrees) {
    writeDefinition(folders.standard(), branches(u"01"_s, u"Filiais padrão"_s));
    writeDefinition(folders.standard(), branches(u"0Y"_s, u"Antigo"_s));
    form->Reports.DeleteAt(1);

    seam.recorder().messageAnswer = mrNo;
    form->mnuRelatPadrClick();
    EXPECT_EQ(form->Reports.Codes(), (QStringList{u"01"_s}));
    EXPECT_EQ(TReportDefinition::Load(first).Title, u"Filiais"_s);

    seam.recorder().messageAnswer = mrYes;
    form->mnuRelatPadrClick();
    ASSERT_EQ(seam.recorder().messages.size(), 2u);
    EXPECT_EQ(seam.recorder().messages[1].type, TMsgDlgType::mtConfirmation);
    EXPECT_EQ(form->Reports.Codes(), (QStringList{u"01"_s, u"02"_s, u"0Y"_s}));
    EXPECT_EQ(form->Reports.Items(), (QStringList{u"Filiais padrão"_s, u"Filiais de novo"_s, u"Antigo"_s}));
}
