#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

namespace shell {

// What the command line asked of the host shell.
struct ShellOptions {
    bool help = false;
    // Qt's own debug, info and warning messages reach stderr only when asked for.
    bool qtMessages = false;
    QString settingsFile;
    // Named by --settings: then a file that cannot be read is an error; the default may be missing.
    bool settingsGiven = false;
    QString packageFile;
    // Launch values; none given means a null launch value.
    std::optional<QString> mode;
    std::optional<QString> filial;
    std::optional<QString> servico;
    std::optional<double> mes; // days since 1899-12-30
    // Overrides of the settings file.
    std::optional<QString> database;
    std::optional<QString> serverHost;
    std::optional<int> serverPort;
    std::optional<QString> operatorCode;
    std::optional<QString> operatorBranch;
    std::optional<QString> secretFile;
    QString screenshot;

    bool launchGiven() const { return mode || filial || servico || mes; }
    bool calculation() const { return mode == QStringLiteral("CALCULA"); }
};

// Reads the arguments (without the program name). Defaults are taken relative to the folder of the
// executable: the settings file ../demo/restcont.ini and the package ../lib/libPkg_kdr60251.so.
// Throws host::Refusal with a Portuguese message for an unknown option, a missing or bad value.
ShellOptions parseShellOptions(const QStringList& arguments, const QString& executableFolder);

// The launch value for IniProc: null when no launch option was given, otherwise mode, branch,
// service, month and the address of the outcome cell.
QVariant launchValue(const ShellOptions& options, bool* outcomeCell);

// The --help text: every option, every settings key and every exit status.
QString helpText();

// True when the arguments ask for Qt's own messages; read before the application object exists, since
// Qt may speak while it is built.
bool wantsQtMessages(int argc, char** argv);

} // namespace shell
