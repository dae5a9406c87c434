#include "host/report/ReportFolders.h"

#include "host/context/OperatorContext.h"
#include "host/context/SettingsKeys.h"
#include "host/core/Refusal.h"
#include "host/report/TReportDefinition.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace host {

namespace {

// A relative folder from the settings file is taken from that file's folder, as every path there.
QString settingsFolder(const QString& key) {
    const OperatorContext& context = OperatorContext::instance();
    const QString path = context.value(key).trimmed();
    if (path.isEmpty())
        return {};
    if (QFileInfo(path).isRelative() && !context.settingsFile().isEmpty())
        return QDir::cleanPath(QFileInfo(context.settingsFile()).absoluteDir().absoluteFilePath(path));
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

QString StandardReportsFolder() {
    const QString configured = settingsFolder(keys::kReportsStandardFolder);
    if (!configured.isEmpty())
        return configured;
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + u"/../reports/standard"_s);
}

QString ReportsFolder() {
    const QString configured = settingsFolder(keys::kReportsFolder);
    return configured.isEmpty() ? StandardReportsFolder() : configured;
}

QString ReportPrintFolder() {
    const QString configured = settingsFolder(keys::kReportsPrintFolder);
    return configured.isEmpty() ? UserDocumentsFolder() : configured;
}

QString UserDocumentsFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() ? QDir::homePath() : documents;
}

std::vector<ReportFile> ListReportFiles(const QString& folder, const QString& screen) {
    std::vector<ReportFile> found;
    const QRegularExpression name(u"^%1_(.+)\\.json$"_s.arg(QRegularExpression::escape(screen)));
    const QDir dir(folder);
    for (const QFileInfo& info : dir.entryInfoList({screen + u"_*.json"_s}, QDir::Files, QDir::Name)) {
        const auto match = name.match(info.fileName());
        if (!match.hasMatch())
            continue;
        ReportFile file{match.captured(1), {}, info.absoluteFilePath()};
        try {
            file.Title = TReportDefinition::Load(file.Path).Title;
        } catch (const Refusal&) {
            file.Title = u"%1 (definição ilegível)"_s.arg(info.fileName());
        }
        found.push_back(std::move(file));
    }
    std::sort(found.begin(), found.end(),
              [](const ReportFile& a, const ReportFile& b) { return a.Code < b.Code; });
    return found;
}

int RestoreStandardReports(const QString& standardFolder, const QString& folder, const QString& screen) {
    const std::vector<ReportFile> shipped = ListReportFiles(standardFolder, screen);
    if (shipped.empty())
        throw Refusal(u"Não há relatórios padrão da tela %1 em '%2'."_s.arg(screen, standardFolder));
    if (!QDir().mkpath(folder))
        throw Refusal(u"Não foi possível criar a pasta de relatórios '%1'."_s.arg(folder));
    int copied = 0;
    for (const ReportFile& file : shipped) {
        const QString target = QDir(folder).absoluteFilePath(QFileInfo(file.Path).fileName());
        // The shipped folder may be the reports folder itself: nothing to restore then.
        if (QFileInfo(target).canonicalFilePath() == QFileInfo(file.Path).canonicalFilePath())
            continue;
        // Loading first: a damaged shipped file must not replace a good definition.
        TReportDefinition::Load(file.Path).Save(target);
        ++copied;
    }
    return copied;
}

QString NextReportCode(const QStringList& taken) {
    for (int n = 1; n <= 99; ++n) {
        const QString code = QString::number(n).rightJustified(2, u'0');
        if (!taken.contains(code))
            return code;
    }
    throw Refusal(u"Não há mais códigos livres para novos relatórios (01 a 99)."_s);
}

} // namespace host
