#include "host/db/TdtmDBGeral.h"

#include "host/context/OperatorContext.h"
#include "host/core/Refusal.h"

#include <QFileInfo>
#include <QSqlError>

using namespace Qt::StringLiterals;

namespace host {

namespace {
const QString kConnectionName = u"adcGeral"_s;
}

TdtmDBGeral& TdtmDBGeral::instance() {
    static TdtmDBGeral module;
    return module;
}

QSqlDatabase TdtmDBGeral::adcGeral() {
    const QString wanted = OperatorContext::instance().databasePath();
    if (wanted.isEmpty() && !isOpen())
        throw Refusal(u"O banco de dados local não foi configurado (chave database/path)."_s);
    if (!wanted.isEmpty() && (wanted != path_ || !isOpen()))
        open(wanted);
    return QSqlDatabase::database(kConnectionName, false);
}

void TdtmDBGeral::open(const QString& path) {
    close();
    const QFileInfo info(path);
    if (!info.isFile())
        throw Refusal(u"Banco de dados local não encontrado: '%1'."_s.arg(path));
    QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, kConnectionName);
    db.setDatabaseName(info.absoluteFilePath());
    // Without it SQLite creates a missing file and the screen would read an empty branch table.
    db.setConnectOptions(u"QSQLITE_OPEN_READONLY"_s);
    if (!db.open()) {
        const QString reason = db.lastError().text();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(kConnectionName);
        throw Refusal(u"Não foi possível abrir o banco de dados local '%1': %2"_s.arg(path, reason));
    }
    path_ = info.absoluteFilePath();
}

void TdtmDBGeral::close() {
    if (QSqlDatabase::contains(kConnectionName)) {
        {
            QSqlDatabase db = QSqlDatabase::database(kConnectionName, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(kConnectionName);
    }
    path_.clear();
}

bool TdtmDBGeral::isOpen() const {
    return QSqlDatabase::contains(kConnectionName) && QSqlDatabase::database(kConnectionName, false).isOpen();
}

} // namespace host
