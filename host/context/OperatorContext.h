#pragma once

#include <QString>

#include <map>
#include <optional>

namespace host {

// The operator context the host gives every screen: read from the settings file, overridden from
// the command line. One process-wide instance, inside the host library.
class OperatorContext {
public:
    static OperatorContext& instance();

    // Reads an INI settings file (see the README for the keys). Throws Refusal when the file cannot
    // be read.
    void loadSettingsFile(const QString& path);
    // Overrides one key, e.g. set("server/host", "127.0.0.1").
    void set(const QString& key, const QString& value);
    QString value(const QString& key, const QString& fallback = {}) const;
    QString settingsFile() const { return settingsFile_; }

    // database/path resolved: relative to the settings file when it came from there, to the working
    // folder when it was overridden. Empty when not configured.
    QString databasePath() const;
    // The bearer secret from the file named by server/secret_file, whitespace-trimmed; empty when no
    // file is configured. Throws Refusal when the file cannot be read.
    QString serverSecret() const;
    // An integer key within bounds; the fallback when absent. Throws Refusal for any other text.
    int intValue(const QString& key, int fallback, int minimum, int maximum) const;
    // Forgets the file and every override (tests, and a shell that reloads).
    void clear();

private:
    QString resolvePath(const QString& key) const;

    std::map<QString, QString> values_;
    std::map<QString, QString> overrides_;
    QString settingsFile_;
};

// The operator's processing branch: code and name.
QString FiliProc();
QString NomeFiliProc();
// True when the operator is confined to his processing branch.
bool ModuFili();
// The processing date of a branch (FILIAL.DTPROCESSO in the local database), days since
// 1899-12-30. Throws Refusal when the branch is unknown or the database cannot be read.
double DataProc(const QString& cdFilial);
// The same, empty for a branch the local database does not know.
std::optional<double> FindDataProc(const QString& cdFilial);
QString Operador();
QString WebURL();
int WebPort();
// server/timeout_ms, for the connection's TimeoutMs.
int ServerTimeoutMs();
// server/cancel_after_ms: how long a call waits before Cancelar is offered.
int CancelAfterMs();
// The edit mask for a kind of code: 0 products and per-capita dishes, 1 dishes.
QString DBPict(int kind);

} // namespace host
