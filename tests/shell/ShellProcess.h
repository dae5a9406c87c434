#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <cstdlib>
#include <utility>

// The built shell, run offscreen as a user would start it.
struct ShellResult {
    int status = -1; // -1: it did not end within the bound; -2: it crashed
    QString out, err;
};

inline QString shellBinaryDir() {
    const char* dir = std::getenv("RESTCONT_BINARY_DIR");
    return QString::fromUtf8(dir ? dir : RESTCONT_BINARY_DIR_DEFAULT);
}

// environment: variables set for this run; an empty value removes the variable.
inline ShellResult runShell(const QStringList& arguments, const QString& folder, int timeoutMs = 60000,
                            const QList<std::pair<QString, QString>>& environmentChanges = {}) {
    QProcess process;
    process.setWorkingDirectory(folder);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    for (const auto& [name, value] : environmentChanges) {
        if (value.isEmpty())
            environment.remove(name);
        else
            environment.insert(name, value);
    }
    process.setProcessEnvironment(environment);
    process.start(QDir(shellBinaryDir()).filePath(QStringLiteral("bin/restcont-host")), arguments);
    ShellResult run;
    if (!process.waitForStarted() || !process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

// The shell as the calculation-mode caller runs it: settings for operator DEMO on branch 0001 over
// this database and server, written into the folder, then one calculation of March 2026.
inline ShellResult runCalculation(const QString& folder, const QString& databasePath, int port,
                                  const QString& branch, const QString& service, int timeoutMs = 90000,
                                  const QList<std::pair<QString, QString>>& environmentChanges = {}) {
    QFile settings(QDir(folder).filePath(QStringLiteral("restcont.ini")));
    if (!settings.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {};
    settings.write(QStringLiteral("[database]\npath=%1\n[server]\nhost=127.0.0.1\nport=%2\ntimeout_ms=20000\n"
                                  "[operator]\ncode=DEMO\nbranch=0001\n")
                       .arg(databasePath)
                       .arg(port)
                       .toUtf8());
    settings.close();
    return runShell({QStringLiteral("--settings"), settings.fileName(), QStringLiteral("--mode"),
                     QStringLiteral("CALCULA"), QStringLiteral("--filial"), branch,
                     QStringLiteral("--servico"), service, QStringLiteral("--mes"),
                     QStringLiteral("2026-03-01")},
                    folder, timeoutMs, environmentChanges);
}
