#include "shell/ShellOptions.h"

#include "host/core/Refusal.h"
#include "protocol/DateTime.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using shell::parseShellOptions;

namespace {

const QString kExe = u"/opt/restcont/bin"_s;

shell::ShellOptions parse(const QStringList& arguments) {
    return parseShellOptions(arguments, kExe);
}

} // namespace

TEST(ShellOptions, DefaultsAreFoundBesideTheExecutableAndTheLaunchIsNull) {
    const shell::ShellOptions options = parse({});
    EXPECT_EQ(options.settingsFile, u"/opt/restcont/demo/restcont.ini"_s);
    EXPECT_EQ(options.packageFile, u"/opt/restcont/lib/libPkg_kdr60251.so"_s);
    EXPECT_FALSE(options.launchGiven());
    EXPECT_FALSE(options.help);
    bool cell = false;
    EXPECT_FALSE(shell::launchValue(options, &cell).isValid());
}

TEST(ShellOptions, EveryOptionIsReadInBothSpellings) {
    for (const bool inlineValues : {false, true}) {
        const auto arg = [&](const QString& name, const QString& value) {
            return inlineValues ? QStringList{name + u'=' + value} : QStringList{name, value};
        };
        QStringList arguments;
        arguments << arg(u"--settings"_s, u"x.ini"_s) << arg(u"--package"_s, u"p.so"_s)
                  << arg(u"--mode"_s, u"CALCULA"_s) << arg(u"--filial"_s, u"0001"_s)
                  << arg(u"--servico"_s, u"00001"_s) << arg(u"--mes"_s, u"2026-03-01"_s)
                  << arg(u"--database"_s, u"d.db"_s) << arg(u"--server"_s, u"127.0.0.1:61000"_s)
                  << arg(u"--operator"_s, u"OP1"_s) << arg(u"--screenshot"_s, u"s.png"_s)
                  << arg(u"--operator-branch"_s, u"0002"_s) << arg(u"--secret-file"_s, u"chave.txt"_s);
        const shell::ShellOptions o = parse(arguments);
        EXPECT_EQ(o.settingsFile, u"x.ini"_s);
        EXPECT_EQ(o.packageFile, u"p.so"_s);
        EXPECT_EQ(o.mode, u"CALCULA"_s);
        EXPECT_EQ(o.filial, u"0001"_s);
        EXPECT_EQ(o.servico, u"00001"_s);
        EXPECT_EQ(o.mes, proto::fromCivil({2026, 3, 1}).days);
        EXPECT_EQ(o.database, u"d.db"_s);
        EXPECT_EQ(o.serverHost, u"127.0.0.1"_s);
        EXPECT_EQ(o.serverPort, 61000);
        EXPECT_EQ(o.operatorCode, u"OP1"_s);
        EXPECT_EQ(o.screenshot, u"s.png"_s);
        EXPECT_EQ(o.operatorBranch, u"0002"_s);
        EXPECT_EQ(o.secretFile, u"chave.txt"_s);
        EXPECT_TRUE(o.settingsGiven);
        EXPECT_TRUE(o.calculation());
    }
    EXPECT_TRUE(parse({u"--help"_s}).help);
    EXPECT_TRUE(parse({u"--qt-messages"_s}).qtMessages);
    EXPECT_FALSE(parse({}).qtMessages);
    EXPECT_FALSE(parse({}).settingsGiven) << "the default file may be missing";
}

TEST(ShellOptions, AnyLaunchOptionGivesTheFiveElementLaunchValue) {
    bool cell = false;
    const QVariant value = shell::launchValue(parse({u"--servico"_s, u"00002"_s}), &cell);
    ASSERT_EQ(value.typeId(), QMetaType::QVariantList);
    const QVariantList items = value.toList();
    ASSERT_EQ(items.size(), 5);
    EXPECT_EQ(items[0].toString(), QString());
    EXPECT_EQ(items[1].toString(), QString());
    EXPECT_EQ(items[2].toString(), u"00002"_s);
    EXPECT_EQ(items[3].toDouble(), 0.0);
    EXPECT_EQ(static_cast<quintptr>(items[4].toLongLong()), reinterpret_cast<quintptr>(&cell));
}

TEST(ShellOptions, BadCommandLinesAreRefusedInPortuguese) {
    struct Case {
        QStringList arguments;
        QString fragment;
    };
    const Case cases[] = {
        {{u"--bogus"_s}, u"Opção desconhecida"_s},
        {{u"filial"_s}, u"Opção desconhecida"_s},
        {{u"--mode"_s}, u"Falta o valor da opção --mode"_s},
        {{u"--help=1"_s}, u"não aceita valor"_s},
        {{u"--mes"_s, u"2026-02-30"_s}, u"Data inválida em --mes"_s},
        {{u"--mes"_s, u"01/03/2026"_s}, u"Data inválida em --mes"_s},
        {{u"--mes"_s, u"2026-03-01T10:00:00"_s}, u"Data inválida em --mes"_s},
        {{u"--server"_s, u"127.0.0.1"_s}, u"Servidor inválido"_s},
        {{u"--server"_s, u"127.0.0.1:0"_s}, u"Servidor inválido"_s},
        {{u"--server"_s, u"127.0.0.1:70000"_s}, u"Servidor inválido"_s},
        {{u"--server"_s, u":60251"_s}, u"Servidor inválido"_s},
        // A calling script would read the child window's 0 as a clear menu.
        {{u"--mode"_s, u"calcula"_s}, u"se escreve CALCULA"_s},
        {{u"--mode"_s, u"Calcula"_s}, u"se escreve CALCULA"_s},
        {{u"--mode=cALCULA"_s}, u"se escreve CALCULA"_s},
    };
    for (const Case& c : cases) {
        try {
            parse(c.arguments);
            ADD_FAILURE() << "accepted " << c.arguments.join(u' ').toStdString();
        } catch (const host::Refusal& refusal) {
            EXPECT_TRUE(refusal.message().contains(c.fragment)) << refusal.message().toStdString();
        }
    }
}

TEST(ShellOptions, TheHelpNamesEveryOptionAndEverySettingsKey) {
    const QString help = shell::helpText();
    for (const QString& word : {u"--help"_s,
                                u"--settings"_s,
                                u"--package"_s,
                                u"--mode"_s,
                                u"--filial"_s,
                                u"--servico"_s,
                                u"--mes"_s,
                                u"--database"_s,
                                u"--server"_s,
                                u"--operator"_s,
                                u"--screenshot"_s,
                                u"database/path"_s,
                                u"server/host"_s,
                                u"server/port"_s,
                                u"server/timeout_ms"_s,
                                u"server/secret_file"_s,
                                u"operator/code"_s,
                                u"operator/branch"_s,
                                u"operator/branch_locked"_s,
                                u"masks/kind0"_s,
                                u"masks/kind1"_s,
                                u"reports/folder"_s,
                                u"reports/standard_folder"_s,
                                u"reports/print_folder"_s,
                                u"format/locale"_s,
                                u"--operator-branch"_s,
                                u"--secret-file"_s,
                                u"--qt-messages"_s,
                                u"\n  0 "_s,
                                u"\n  1 "_s,
                                u"\n  2 "_s})
        EXPECT_TRUE(help.contains(word)) << word.toStdString();
}
