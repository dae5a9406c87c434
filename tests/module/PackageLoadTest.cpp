#include "GuiTestSupport.h"

#include "host/app/PackageInfo.h"
#include "host/app/TApplication.h"
#include "host/app/TForm.h"

#include <QDir>
#include <QLibrary>
#include <QString>
#include <QVariant>

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

QString packagePath() {
    const char* dir = std::getenv("RESTCONT_BINARY_DIR");
    return QDir(QString::fromUtf8(dir ? dir : RESTCONT_BINARY_DIR_DEFAULT))
        .filePath(u"lib/libPkg_kdr60251.so"_s);
}

QLibrary& package() {
    static QLibrary library(packagePath());
    if (!library.isLoaded() && !library.load())
        ADD_FAILURE() << library.errorString().toStdString();
    return library;
}

template <typename T> T* variable(const char* name) {
    return reinterpret_cast<T*>(package().resolve(name));
}

} // namespace

TEST(Package, ExportsEveryEntryAndVariableUnderItsName) {
    ASSERT_TRUE(package().load()) << package().errorString().toStdString();
    void* handle = dlopen(packagePath().toUtf8().constData(), RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(handle, nullptr);
    for (const char* name :
         {"IniProc",         "CriaAnalRestCont", "Initialize",    "Finalize",      "GetPackageInfoTable",
          "frmAnalRestCont", "boIdCriado",       "stCdFilial",    "stCdServico",   "stListaServ",
          "dtMesCard",       "boApply",          "boFreqPratSem", "boFreqPratMes", "boFreqOpcaSem",
          "boFreqOpcaMes",   "boRestPratMes",    "boRestOpcaMes", "boUtilPratSem", "boRestProd",
          "boLimPerSer",     "boLimPerPrat",     "boLimNutri",    "boDataSemana",  "boCalcula",
          "PboClose"})
        EXPECT_NE(dlsym(handle, name), nullptr) << name;
    for (const char* hidden : {"stCdFilialAnt", "boDesmarcar"})
        EXPECT_EQ(dlsym(handle, hidden), nullptr) << hidden << " is the unit's own";
    dlclose(handle);
}

TEST(Package, VariablesHoldTheirLoadValues) {
    EXPECT_EQ(*variable<bool>("boIdCriado"), false);
    EXPECT_EQ(*variable<double>("dtMesCard"), 0.0);
    EXPECT_EQ(*variable<bool*>("PboClose"), nullptr);
    EXPECT_TRUE(variable<QString>("stCdFilial")->isEmpty());
    for (const char* flag : {"boFreqPratSem", "boLimNutri", "boDataSemana", "boCalcula", "boApply"})
        EXPECT_EQ(*variable<bool>(flag), false) << flag;
    EXPECT_EQ(sizeof(bool), 1u) << "yes/no values are one byte";
}

TEST(Package, DescribesItselfToTheLoader) {
    const auto table =
        reinterpret_cast<host::GetPackageInfoTableProc>(package().resolve("GetPackageInfoTable"));
    ASSERT_NE(table, nullptr);
    const host::PackageInfo* info = table();
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->version, host::kPackageInfoVersion);
    EXPECT_STREQ(info->name, "Pkg_kdr60251");
    ASSERT_NE(info->units[0], nullptr);
    EXPECT_STREQ(info->units[0], "Cli_kdr60251");
    EXPECT_EQ(info->units[1], nullptr);
    for (int i = 0; info->entries[i]; ++i)
        EXPECT_NE(package().resolve(info->entries[i]), nullptr) << info->entries[i];
}

TEST(Package, LoadIsIdempotentAndUnloadReleasesTextsAtTheLastUser) {
    const auto initialize = reinterpret_cast<host::PackageInitProc>(package().resolve("Initialize"));
    const auto finalize = reinterpret_cast<host::PackageInitProc>(package().resolve("Finalize"));
    auto* live = variable<bool>("boIdCriado");
    auto* filial = variable<QString>("stCdFilial");
    auto* lista = variable<QString>("stListaServ");
    *live = true;
    initialize();
    EXPECT_FALSE(*live) << "the first load clears the live flag";
    *live = true;
    initialize();
    EXPECT_TRUE(*live) << "a second load changes nothing";
    *filial = u"0001"_s;
    *lista = u"_00001"_s;
    finalize();
    EXPECT_EQ(*filial, u"0001"_s) << "another user remains";
    finalize();
    EXPECT_TRUE(filial->isEmpty());
    EXPECT_TRUE(lista->isEmpty());
    EXPECT_NO_FATAL_FAILURE(finalize());
    *live = false;
}

TEST(Package, TheEntryCreatesItsFormInTheHostsOneApplication) {
    GuiDialogSeam seam;
    using IniProcEntry = void (*)(QVariant);
    const auto iniProc = reinterpret_cast<IniProcEntry>(package().resolve("IniProc"));
    ASSERT_NE(iniProc, nullptr);
    iniProc(QVariant());
    const QList<host::TForm*> forms = host::Application().Forms();
    ASSERT_EQ(forms.size(), 1);
    EXPECT_STREQ(forms.front()->metaObject()->className(), "TfrmAnalRestCont");
    EXPECT_TRUE(*variable<bool>("boIdCriado"));
    forms.front()->Close();
    GuiDrain();
    EXPECT_FALSE(*variable<bool>("boIdCriado"));
}
