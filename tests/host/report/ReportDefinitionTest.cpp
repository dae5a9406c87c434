#include "RefusalOf.h"
#include "ReportTestSupport.h"

#include "host/context/OperatorContext.h"
#include "host/context/SettingsKeys.h"
#include "host/report/ReportFolders.h"
#include "host/report/TReportParams.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace host;

namespace {

TReportDefinition sample(const QString& code, const QString& title) {
    return {u"KDR60251"_s,
            code,
            title,
            u"SELECT CDFILIAL, NMFILIAL FROM FILIAL WHERE CDFILIAL = :P_CDFILIAL"_s,
            {{u"CDFILIAL"_s, u"Filial"_s}, {u"NMFILIAL"_s, u"Nome"_s}}};
}

void writeRaw(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

TEST(ReportDefinition, SurvivesTheTripThroughItsFileWithAccentsAndEveryColumnInOrder) {
    ReportFoldersSetting folders;
    TReportDefinition definition = sample(u"07"_s, u"Cardápio do mês"_s);
    definition.Columns.append({u"DTCARDAPIO"_s, u"Dia \"útil\""_s});
    const QString path = writeDefinition(folders.folder(), definition);
    EXPECT_TRUE(path.endsWith(u"/KDR60251_07.json"_s));
    EXPECT_EQ(TReportDefinition::Load(path), definition);
}

TEST(ReportDefinition, AFileThatIsNoDefinitionIsRefusedNamingTheFile) {
    ReportFoldersSetting folders;
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"not json", "SELECT * FROM FILIAL"},
        {"an array", "[1, 2]"},
        {"no code", R"({"screen": "KDR60251", "title": "x"})"},
        {"no screen", R"({"code": "01", "title": "x"})"},
    };
    for (const auto& c : cases) {
        const QString path = folders.file(u"bad.json"_s);
        writeRaw(path, c.bytes);
        EXPECT_TRUE(refusalOf([&] { TReportDefinition::Load(path); }).contains(path)) << c.name;
    }
    EXPECT_TRUE(
        refusalOf([&] { TReportDefinition::Load(folders.file(u"none.json"_s)); }).contains(u"none.json"_s));
}

TEST(ReportDefinition, OnlyACompleteDefinitionCanRun) {
    const struct {
        const char* name;
        std::function<void(TReportDefinition&)> spoil;
        QString expected;
    } cases[] = {
        {"blank title", [](TReportDefinition& d) { d.Title = u"  "_s; }, u"título"_s},
        {"no query", [](TReportDefinition& d) { d.Query = u"\n"_s; }, u"consulta"_s},
        {"no columns", [](TReportDefinition& d) { d.Columns.clear(); }, u"ao menos uma coluna"_s},
        {"column without field", [](TReportDefinition& d) { d.Columns[1].FieldName.clear(); }, u"coluna 2"_s},
    };
    EXPECT_NO_THROW(sample(u"01"_s, u"Filiais"_s).CheckComplete());
    for (const auto& c : cases) {
        TReportDefinition definition = sample(u"01"_s, u"Filiais"_s);
        c.spoil(definition);
        EXPECT_TRUE(refusalOf([&] { definition.CheckComplete(); }).contains(c.expected)) << c.name;
    }
}

TEST(ReportDefinition, ASaveThatCannotBeWrittenIsRefusedAndLeavesNoFile) {
    ReportFoldersSetting folders;
    const QString path = folders.file(u"naoexiste/KDR60251_01.json"_s);
    EXPECT_TRUE(refusalOf([&] { sample(u"01"_s, u"x"_s).Save(path); }).contains(path));
    EXPECT_FALSE(QFile::exists(path));
}

TEST(ReportFolderListing, ListsTheScreensDefinitionsByCodeAndNothingOfOtherScreens) {
    ReportFoldersSetting folders;
    writeDefinition(folders.folder(), sample(u"0C"_s, u"Terceiro"_s));
    writeDefinition(folders.folder(), sample(u"02"_s, u"Segundo"_s));
    writeDefinition(folders.folder(), sample(u"01"_s, u"Primeiro"_s));
    TReportDefinition other = sample(u"01"_s, u"De outra tela"_s);
    other.Screen = u"KDR60252"_s;
    writeDefinition(folders.folder(), other);
    writeRaw(QDir(folders.folder()).filePath(u"KDR60251_03.txt"_s), "{}");

    const auto files = ListReportFiles(folders.folder(), u"KDR60251"_s);
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files[0].Code, u"01"_s);
    EXPECT_EQ(files[0].Title, u"Primeiro"_s);
    EXPECT_EQ(files[1].Code, u"02"_s);
    EXPECT_EQ(files[2].Code, u"0C"_s);
    EXPECT_EQ(files[2].Path, QDir(folders.folder()).absoluteFilePath(u"KDR60251_0C.json"_s));
    EXPECT_TRUE(ListReportFiles(folders.file(u"nenhuma"_s), u"KDR60251"_s).empty());
}

TEST(ReportFolderListing, AnUnreadableDefinitionIsStillOfferedAndSaysSo) {
    ReportFoldersSetting folders;
    QDir().mkpath(folders.folder());
    writeRaw(QDir(folders.folder()).filePath(u"KDR60251_05.json"_s), "{ quebrado");
    const auto files = ListReportFiles(folders.folder(), u"KDR60251"_s);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].Code, u"05"_s);
    EXPECT_TRUE(files[0].Title.contains(u"ilegível"_s));
}

TEST(StandardReports, RestoringPutsTheShippedOnesBackAndKeepsWhatTheUserAdded) {
    ReportFoldersSetting folders;
    writeDefinition(folders.standard(), sample(u"01"_s, u"Padrão um"_s));
    writeDefinition(folders.standard(), sample(u"02"_s, u"Padrão dois"_s));
    writeDefinition(folders.folder(), sample(u"01"_s, u"Mudado pelo usuário"_s));
    writeDefinition(folders.folder(), sample(u"09"_s, u"Do usuário"_s));

    EXPECT_EQ(RestoreStandardReports(folders.standard(), folders.folder(), u"KDR60251"_s), 2);
    const auto files = ListReportFiles(folders.folder(), u"KDR60251"_s);
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files[0].Title, u"Padrão um"_s);
    EXPECT_EQ(files[1].Title, u"Padrão dois"_s);
    EXPECT_EQ(files[2].Title, u"Do usuário"_s);
}

TEST(StandardReports, ADamagedShippedFileNeverReplacesAGoodDefinition) {
    ReportFoldersSetting folders;
    writeRaw(QDir(folders.standard()).filePath(u"KDR60251_01.json"_s), "{ quebrado");
    const QString mine = writeDefinition(folders.folder(), sample(u"01"_s, u"Meu"_s));
    EXPECT_FALSE(refusalOf([&] {
                     RestoreStandardReports(folders.standard(), folders.folder(), u"KDR60251"_s);
                 }).isEmpty());
    EXPECT_EQ(TReportDefinition::Load(mine).Title, u"Meu"_s);
}

TEST(StandardReports, NoShippedReportIsRefusedAndTheSameFolderRestoresNothing) {
    ReportFoldersSetting folders;
    EXPECT_TRUE(refusalOf([&] {
                    RestoreStandardReports(folders.standard(), folders.folder(), u"KDR60251"_s);
                }).contains(folders.standard()));
    writeDefinition(folders.standard(), sample(u"01"_s, u"Padrão"_s));
    EXPECT_EQ(RestoreStandardReports(folders.standard(), folders.standard(), u"KDR60251"_s), 0);
    EXPECT_EQ(TReportDefinition::Load(QDir(folders.standard()).filePath(u"KDR60251_01.json"_s)).Title,
              u"Padrão"_s);
}

TEST(ReportCodes, ANewReportTakesTheFirstFreeCode) {
    EXPECT_EQ(NextReportCode({}), u"01"_s);
    EXPECT_EQ(NextReportCode({u"01"_s, u"02"_s, u"04"_s, u"0Y"_s}), u"03"_s);
    QStringList all;
    for (int n = 1; n <= 99; ++n)
        all << QString::number(n).rightJustified(2, u'0');
    EXPECT_TRUE(refusalOf([&] { NextReportCode(all); }).contains(u"99"_s));
}

TEST(ReportFolderSettings, ARelativeFolderIsTheSettingsFilesAndNoReportsFolderMeansTheShippedOnes) {
    ReportFoldersSetting folders;
    EXPECT_EQ(ReportsFolder(), folders.folder());
    OperatorContext::instance().set(keys::kReportsFolder, {});
    EXPECT_EQ(ReportsFolder(), StandardReportsFolder());
    EXPECT_EQ(ReportPrintFolder(), folders.print());
}

TEST(ReportParameters, TheQueryDeclaresEachNameOnceWhateverItsCase) {
    TReportParams params({u"P_CDFILIAL"_s, u"p_cdservfili"_s, u"P_CDFILIAL"_s});
    EXPECT_EQ(params.Names(), (QStringList{u"P_CDFILIAL"_s, u"P_CDSERVFILI"_s}));
    EXPECT_TRUE(ExistParam(params, u"P_CDSERVFILI"_s));
    EXPECT_TRUE(ExistParam(params, u"p_cdfilial"_s));
    EXPECT_FALSE(ExistParam(params, u"P_DTPRIMDIAMES"_s));
    EXPECT_FALSE(ExistParam(params, u"P_CDFILIA"_s));
    params.ParamByName(u"p_cdfilial"_s).SetAsString(u"0001"_s);
    EXPECT_EQ(params.ParamByName(u"P_CDFILIAL"_s).Value().toString(), u"0001"_s);
    EXPECT_TRUE(refusalOf([&] { params.ParamByName(u"P_DTPRIMDIAMES"_s); }).contains(u"P_DTPRIMDIAMES"_s));
}

TEST(ReportParameters, ADayCountBecomesTheCalendarDateAndTime) {
    EXPECT_EQ(TReportParams::DateTimeOf(46082), QDateTime(QDate(2026, 3, 1), QTime(0, 0)));
    EXPECT_EQ(TReportParams::DateTimeOf(46082.5), QDateTime(QDate(2026, 3, 1), QTime(12, 0)));
    EXPECT_EQ(TReportParams::DateTimeOf(0), QDateTime(QDate(1899, 12, 30), QTime(0, 0)));
}
