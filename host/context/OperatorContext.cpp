#include "host/context/OperatorContext.h"

#include "host/context/SettingsKeys.h"
#include "host/core/Refusal.h"
#include "host/db/TdtmDBGeral.h"
#include "protocol/DateTime.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QSqlQuery>
#include <QVariant>

using namespace Qt::StringLiterals;

namespace host {

OperatorContext& OperatorContext::instance() {
    static OperatorContext context;
    return context;
}

void OperatorContext::loadSettingsFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable())
        throw Refusal(u"Não foi possível ler o arquivo de configuração '%1'."_s.arg(path));
    QSettings settings(info.absoluteFilePath(), QSettings::IniFormat);
    if (settings.status() != QSettings::NoError)
        throw Refusal(u"O arquivo de configuração '%1' está mal formado."_s.arg(path));
    std::map<QString, QString> read;
    for (const QString& key : settings.allKeys())
        read[key] = settings.value(key).toString();
    // Loading replaces what an earlier file gave, never what the command line overrode.
    values_ = std::move(read);
    settingsFile_ = info.absoluteFilePath();
}

void OperatorContext::set(const QString& key, const QString& value) {
    overrides_[key] = value;
}

QString OperatorContext::value(const QString& key, const QString& fallback) const {
    if (const auto found = overrides_.find(key); found != overrides_.end())
        return found->second;
    if (const auto found = values_.find(key); found != values_.end())
        return found->second;
    return fallback;
}

void OperatorContext::clear() {
    values_.clear();
    overrides_.clear();
    settingsFile_.clear();
}

QString OperatorContext::resolvePath(const QString& key) const {
    const QString path = value(key).trimmed();
    if (path.isEmpty())
        return {};
    // A path from the settings file is relative to that file, so a settings file can travel with its
    // database; one given on the command line is relative to where the command ran.
    const bool fromFile = overrides_.find(key) == overrides_.end();
    if (QFileInfo(path).isRelative() && fromFile && !settingsFile_.isEmpty())
        return QDir::cleanPath(QFileInfo(settingsFile_).absoluteDir().absoluteFilePath(path));
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

QString OperatorContext::databasePath() const {
    return resolvePath(keys::kDatabasePath);
}

QString OperatorContext::serverSecret() const {
    const QString path = resolvePath(keys::kServerSecretFile);
    if (path.isEmpty())
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Refusal(u"Não foi possível ler o arquivo da chave de acesso ao servidor '%1'."_s.arg(path));
    return QString::fromUtf8(file.readAll()).trimmed();
}

int OperatorContext::intValue(const QString& key, int fallback, int minimum, int maximum) const {
    const QString text = value(key).trimmed();
    if (text.isEmpty())
        return fallback;
    bool ok = false;
    const int number = text.toInt(&ok);
    if (!ok || number < minimum || number > maximum)
        throw Refusal(u"Valor inválido para '%1' nas configurações: '%2'."_s.arg(key, text));
    return number;
}

QString FiliProc() {
    return OperatorContext::instance().value(keys::kOperatorBranch).trimmed();
}

QString NomeFiliProc() {
    const QString code = FiliProc();
    if (code.isEmpty())
        return {};
    QSqlQuery query(TdtmDBGeral::instance().adcGeral());
    query.prepare(u"SELECT NMFILIAL FROM FILIAL WHERE CDFILIAL = ?"_s);
    query.addBindValue(code);
    if (!query.exec())
        throw Refusal(u"Não foi possível ler a filial '%1' no banco de dados local."_s.arg(code));
    return query.next() ? query.value(0).toString() : QString();
}

bool ModuFili() {
    const QString text = OperatorContext::instance().value(keys::kOperatorBranchLocked).trimmed().toLower();
    return text == u"true"_s || text == u"1"_s || text == u"s"_s || text == u"sim"_s;
}

std::optional<double> FindDataProc(const QString& cdFilial) {
    QSqlQuery query(TdtmDBGeral::instance().adcGeral());
    query.prepare(u"SELECT DTPROCESSO FROM FILIAL WHERE CDFILIAL = ?"_s);
    query.addBindValue(cdFilial);
    if (!query.exec())
        throw Refusal(u"Não foi possível ler a filial '%1' no banco de dados local."_s.arg(cdFilial));
    if (!query.next())
        return std::nullopt;
    const auto date = proto::parseDateTime(query.value(0).toString().toStdString());
    if (!date)
        throw Refusal(u"Data de processamento inválida para a filial '%1': '%2'."_s.arg(
            cdFilial, query.value(0).toString()));
    return date->days;
}

double DataProc(const QString& cdFilial) {
    if (const std::optional<double> date = FindDataProc(cdFilial))
        return *date;
    throw Refusal(u"Filial '%1' não cadastrada: sem data de processamento."_s.arg(cdFilial));
}

QString Operador() {
    return OperatorContext::instance().value(keys::kOperatorCode).trimmed();
}

QString WebURL() {
    return OperatorContext::instance().value(keys::kServerHost, u"127.0.0.1"_s).trimmed();
}

int WebPort() {
    return OperatorContext::instance().intValue(keys::kServerPort, keys::kDefaultPort, 1, 65535);
}

int ServerTimeoutMs() {
    return OperatorContext::instance().intValue(keys::kServerTimeoutMs, keys::kDefaultTimeoutMs, 1, 3600000);
}

int CancelAfterMs() {
    return OperatorContext::instance().intValue(keys::kServerCancelAfterMs, keys::kDefaultCancelAfterMs, 0,
                                                3600000);
}

QString DBPict(int kind) {
    switch (kind) {
    case 0:
        return OperatorContext::instance().value(keys::kMaskKind0, keys::kDefaultMaskKind0);
    case 1:
        return OperatorContext::instance().value(keys::kMaskKind1, keys::kDefaultMaskKind1);
    default:
        throw Refusal(u"Tipo de máscara de código desconhecido: %1."_s.arg(kind));
    }
}

} // namespace host
