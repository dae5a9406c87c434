#include "RefusalOf.h"
#include "TestDatabase.h"

#include "host/context/OperatorContext.h"
#include "host/context/SettingsKeys.h"
#include "host/core/Refusal.h"
#include "host/db/TdtmDBGeral.h"
#include "host/format/Formatting.h"
#include "protocol/DateTime.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <functional>

using host::OperatorContext;
using host::Refusal;
using namespace Qt::StringLiterals;

namespace {

class OperatorContextTest : public ::testing::Test {
protected:
    void SetUp() override {
        context().clear();
        host::TdtmDBGeral::instance().close();
    }
    void TearDown() override {
        host::TdtmDBGeral::instance().close();
        context().clear();
    }
    static OperatorContext& context() { return OperatorContext::instance(); }

    QString writeSettings(const QString& relativePath, const QByteArray& text) {
        const QString path = dir.filePath(relativePath);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return path;
    }

    QTemporaryDir dir;
};

TEST_F(OperatorContextTest, ReadsEveryKeyOfTheSettingsFile) {
    context().loadSettingsFile(writeSettings(u"host.ini"_s,
                                             "[server]\nhost=10.0.0.5\nport=61000\ntimeout_ms=1500\n"
                                             "[operator]\ncode=MARIA\nbranch=0002\nbranch_locked=true\n"
                                             "[masks]\nkind0=\"999-999;0; \"\nkind1=\">aaaa;0;_\"\n"
                                             "[reports]\nfolder=rel\n"));
    EXPECT_EQ(host::WebURL(), u"10.0.0.5"_s);
    EXPECT_EQ(host::WebPort(), 61000);
    EXPECT_EQ(host::ServerTimeoutMs(), 1500);
    EXPECT_EQ(host::Operador(), u"MARIA"_s);
    EXPECT_EQ(host::FiliProc(), u"0002"_s);
    EXPECT_TRUE(host::ModuFili());
    EXPECT_EQ(host::DBPict(0), u"999-999;0; "_s);
    EXPECT_EQ(host::DBPict(1), u">aaaa;0;_"_s);
    EXPECT_EQ(context().value(host::keys::kReportsFolder), u"rel"_s);
}

TEST_F(OperatorContextTest, DefaultsWhenKeysAreAbsent) {
    context().loadSettingsFile(writeSettings(u"empty.ini"_s, ""));
    EXPECT_EQ(host::WebURL(), u"127.0.0.1"_s);
    EXPECT_EQ(host::WebPort(), 60251);
    EXPECT_EQ(host::ServerTimeoutMs(), 30000);
    EXPECT_FALSE(host::ModuFili());
    EXPECT_EQ(host::Operador(), QString());
    EXPECT_EQ(context().serverSecret(), QString());
    EXPECT_EQ(context().databasePath(), QString());
}

TEST_F(OperatorContextTest, DefaultMasksLayOutATenCharacterCodeWhole) {
    for (const int kind : {0, 1}) {
        const QString laid = host::FormatMaskText(host::DBPict(kind), u"ab12345678"_s);
        QString kept = laid;
        kept.remove(u'.');
        EXPECT_EQ(kept, u"AB12345678"_s) << kind << " " << laid.toStdString();
    }
    EXPECT_NE(host::DBPict(0), host::DBPict(1));
    EXPECT_FALSE(refusalOf([] { host::DBPict(2); }).isEmpty());
}

TEST_F(OperatorContextTest, OverridesWinWhicheverComesFirst) {
    context().set(host::keys::kOperatorCode, u"JOAO"_s);
    const QString path =
        writeSettings(u"a.ini"_s, "[operator]\ncode=MARIA\nbranch=0001\n[server]\nport=1000\n");
    context().loadSettingsFile(path);
    context().set(host::keys::kServerPort, u"2000"_s);
    EXPECT_EQ(host::Operador(), u"JOAO"_s);
    EXPECT_EQ(host::FiliProc(), u"0001"_s);
    EXPECT_EQ(host::WebPort(), 2000);
    EXPECT_EQ(context().settingsFile(), QFileInfo(path).absoluteFilePath());
}

struct PathCase {
    const char* name;
    const char* inFile;   // database/path in the settings file
    const char* override; // or nullptr
    std::function<QString(const QString& settingsDir)> expected;
};

class DatabasePathTest : public OperatorContextTest, public ::testing::WithParamInterface<PathCase> {};

TEST_P(DatabasePathTest, Resolves) {
    const QString path =
        writeSettings(u"conf/host.ini"_s, QByteArray("[database]\npath=") + GetParam().inFile + "\n");
    context().loadSettingsFile(path);
    if (GetParam().override)
        context().set(host::keys::kDatabasePath, QString::fromUtf8(GetParam().override));
    EXPECT_EQ(context().databasePath(), GetParam().expected(QFileInfo(path).absolutePath()));
}

INSTANTIATE_TEST_SUITE_P(
    Paths, DatabasePathTest,
    ::testing::Values(
        PathCase{"RelativeToTheSettingsFile", "data/suite.db", nullptr,
                 [](const QString& d) { return QDir(d).absoluteFilePath(u"data/suite.db"_s); }},
        PathCase{"ParentFolder", "../suite.db", nullptr,
                 [](const QString& d) {
                     return QFileInfo(QDir(d).filePath(u"../suite.db"_s)).absoluteFilePath();
                 }},
        PathCase{"Absolute", "/srv/suite.db", nullptr, [](const QString&) { return u"/srv/suite.db"_s; }},
        PathCase{"OverrideRelativeToTheWorkingFolder", "data/suite.db", "other.db",
                 [](const QString&) { return QDir::current().absoluteFilePath(u"other.db"_s); }}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

struct FlagCase {
    const char* text;
    bool locked;
};

class BranchLockedTest : public OperatorContextTest, public ::testing::WithParamInterface<FlagCase> {};

TEST_P(BranchLockedTest, ReadsTheFlag) {
    context().set(host::keys::kOperatorBranchLocked, QString::fromUtf8(GetParam().text));
    EXPECT_EQ(host::ModuFili(), GetParam().locked);
}

INSTANTIATE_TEST_SUITE_P(Flags, BranchLockedTest,
                         ::testing::Values(FlagCase{"true", true}, FlagCase{"TRUE", true},
                                           FlagCase{"1", true}, FlagCase{"false", false},
                                           FlagCase{"0", false}, FlagCase{"", false},
                                           FlagCase{"talvez", false}));

TEST_F(OperatorContextTest, BadFilesAndValuesAreRefusedByName) {
    EXPECT_TRUE(refusalOf([&] {
                    context().loadSettingsFile(dir.filePath(u"missing.ini"_s));
                }).contains(u"missing.ini"_s));
    for (const QString& port : {u"abc"_s, u"0"_s, u"70000"_s}) {
        context().set(host::keys::kServerPort, port);
        EXPECT_TRUE(refusalOf([] { host::WebPort(); }).contains(u"server/port"_s)) << port.toStdString();
    }
}

TEST_F(OperatorContextTest, BranchNameAndProcessingDateComeFromTheLocalDatabase) {
    TestDatabase db;
    db.exec("INSERT INTO FILIAL VALUES ('0001', 'Hospital Central', 'N', '2026-03-15');");
    context().set(host::keys::kDatabasePath, QString::fromStdString(db.pathString()));
    context().set(host::keys::kOperatorBranch, u"0001"_s);
    EXPECT_EQ(host::NomeFiliProc(), u"Hospital Central"_s);
    EXPECT_EQ(host::DataProc(u"0001"_s), proto::fromCivil({2026, 3, 15}).days);
    EXPECT_TRUE(refusalOf([] { host::DataProc(u"0009"_s); }).contains(u"0009"_s));
    context().set(host::keys::kOperatorBranch, u"0009"_s);
    EXPECT_EQ(host::NomeFiliProc(), QString());
}

} // namespace
