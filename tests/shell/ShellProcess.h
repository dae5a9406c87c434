#pragma once

#include <QDir>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <cstdlib>

// The built shell, run offscreen as a user would start it.
struct ShellResult {
    int status = -1; // -1: it did not end within the bound; -2: it crashed
    QString out, err;
};

inline QString shellBinaryDir() {
    const char* dir = std::getenv("RESTCONT_BINARY_DIR");
    return QString::fromUtf8(dir ? dir : RESTCONT_BINARY_DIR_DEFAULT);
}

inline ShellResult runShell(const QStringList& arguments, const QString& folder, int timeoutMs = 60000) {
    QProcess process;
    process.setWorkingDirectory(folder);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
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
