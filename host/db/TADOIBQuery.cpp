#include "host/db/TADOIBQuery.h"

#include "host/core/Refusal.h"
#include "host/db/TdtmDBGeral.h"
#include "protocol/DateTime.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <cmath>

using namespace Qt::StringLiterals;

namespace host {

TADOIBQuery::TADOIBQuery(QString name) : TClientDataSet(std::move(name)) {}

void TADOIBQuery::SetConnection(const QSqlDatabase& connection) {
    connection_ = connection;
    ownConnection_ = true;
}

QSqlDatabase TADOIBQuery::connection() const {
    return ownConnection_ ? connection_ : TdtmDBGeral::instance().adcGeral();
}

const QString& TADOIBQuery::statementFor(const TADOIBQuery& query, const QString& driverName) {
    if (driverName == u"QSQLITE"_s || driverName == u"QPSQL"_s)
        return query.SQL;
    if (driverName == u"QOCI"_s)
        return query.SQL_ORACLE;
    if (driverName == u"QODBC"_s)
        return query.SQL_MSSQL;
    if (driverName == u"QIBASE"_s)
        return query.SQL_IB;
    throw Refusal(u"%1: banco de dados de tipo '%2' não suportado."_s.arg(query.Name, driverName));
}

const QString& TADOIBQuery::statement() const {
    const QString& text = statementFor(*this, connection().driverName());
    if (text.trimmed().isEmpty())
        throw Refusal(
            u"%1: não há comando SQL para o banco de dados '%2'."_s.arg(Name, connection().driverName()));
    return text;
}

TADOIBQuery::Positional TADOIBQuery::toPositional(const QString& statement) {
    Positional result;
    const auto isNameChar = [](QChar c) { return c.isLetterOrNumber() || c == u'_'; };
    qsizetype i = 0;
    const qsizetype n = statement.size();
    while (i < n) {
        const QChar c = statement.at(i);
        if (c == u'\'' || c == u'"') {
            // Quoted text and names are copied whole; a doubled quote stays inside.
            qsizetype end = i + 1;
            while (end < n) {
                if (statement.at(end) == c) {
                    if (end + 1 < n && statement.at(end + 1) == c) {
                        end += 2;
                        continue;
                    }
                    break;
                }
                ++end;
            }
            result.statement += statement.mid(i, end - i + 1);
            i = end + 1;
        } else if (c == u'-' && i + 1 < n && statement.at(i + 1) == u'-') {
            const qsizetype end = statement.indexOf(u'\n', i);
            const qsizetype stop = end < 0 ? n : end;
            result.statement += statement.mid(i, stop - i);
            i = stop;
        } else if (c == u'/' && i + 1 < n && statement.at(i + 1) == u'*') {
            const qsizetype end = statement.indexOf(u"*/"_s, i + 2);
            const qsizetype stop = end < 0 ? n : end + 2;
            result.statement += statement.mid(i, stop - i);
            i = stop;
        } else if (c == u':' && i + 1 < n && statement.at(i + 1) == u':') {
            result.statement += u"::"_s;
            i += 2;
        } else if (c == u':' && i + 1 < n && isNameChar(statement.at(i + 1))) {
            qsizetype end = i + 1;
            while (end < n && isNameChar(statement.at(end)))
                ++end;
            result.names << statement.mid(i + 1, end - i - 1).toUpper();
            result.statement += u'?';
            i = end;
        } else {
            result.statement += c;
            ++i;
        }
    }
    return result;
}

TParam& TADOIBQuery::ParamByName(const QString& name) {
    const QString key = name.toUpper();
    if (!toPositional(statement()).names.contains(key))
        throw Refusal(u"%1: parâmetro '%2' não encontrado no comando SQL."_s.arg(Name, name));
    return params_[key];
}

namespace {

// One database value as the wire would carry it, in the type the record set's field wants.
proto::Value convert(const QVariant& value, proto::FieldType type, const QString& where) {
    if (value.isNull())
        return std::monostate{};
    switch (type) {
    case proto::FieldType::String:
        return value.toString().toStdString();
    case proto::FieldType::Float:
    case proto::FieldType::Integer: {
        bool ok = false;
        const double number = value.toDouble(&ok);
        if (!ok || !std::isfinite(number))
            throw Refusal(u"%1: '%2' não é um número."_s.arg(where, value.toString()));
        return number;
    }
    case proto::FieldType::DateTime: {
        if (value.metaType().id() == QMetaType::QDateTime || value.metaType().id() == QMetaType::QDate) {
            const QDateTime moment = value.toDateTime();
            return proto::fromCivil({moment.date().year(), moment.date().month(), moment.date().day(),
                                     moment.time().hour(), moment.time().minute(), moment.time().second()});
        }
        const auto parsed =
            proto::parseDateTime(value.toString().trimmed().replace(u' ', u'T').toStdString());
        if (!parsed)
            throw Refusal(u"%1: '%2' não é uma data."_s.arg(where, value.toString()));
        return *parsed;
    }
    }
    return std::monostate{};
}

proto::FieldType inferType(const QVariant& value) {
    switch (value.metaType().id()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return proto::FieldType::Float;
    case QMetaType::QDate:
    case QMetaType::QDateTime:
        return proto::FieldType::DateTime;
    default:
        return proto::FieldType::String;
    }
}

} // namespace

void TADOIBQuery::Open() {
    const QSqlDatabase db = connection();
    const Positional positional = toPositional(statement());
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(positional.statement))
        throw Refusal(u"%1: comando SQL inválido: %2"_s.arg(Name, query.lastError().text()));
    for (const QString& name : positional.names) {
        const auto found = params_.find(name);
        query.addBindValue(found == params_.end() ? QVariant() : found->second.Value());
    }
    if (!query.exec())
        throw Refusal(
            u"%1: a consulta ao banco de dados local falhou: %2"_s.arg(Name, query.lastError().text()));

    const QSqlRecord record = query.record();
    std::vector<QVariantList> raw;
    while (query.next()) {
        QVariantList row;
        for (int c = 0; c < record.count(); ++c)
            row << query.value(c);
        raw.push_back(std::move(row));
    }
    proto::Packet packet;
    for (int c = 0; c < record.count(); ++c) {
        proto::FieldDef def;
        def.name = record.fieldName(c).toUpper().toStdString();
        if (const TField* declared = FindField(record.fieldName(c))) {
            def.name = declared->FieldName().toStdString();
            def.type = declared->DataType();
        } else {
            def.type = proto::FieldType::String;
            for (const auto& row : raw)
                if (!row.at(c).isNull()) {
                    def.type = inferType(row.at(c));
                    break;
                }
        }
        if (def.type == proto::FieldType::String) {
            int longest = 1;
            for (const auto& row : raw)
                longest = std::max(longest, static_cast<int>(row.at(c).toString().toUcs4().size()));
            def.size = longest;
        }
        packet.fields.push_back(def);
    }
    for (const auto& row : raw) {
        std::vector<proto::Value> cells;
        for (int c = 0; c < record.count(); ++c)
            cells.push_back(convert(row.at(c), packet.fields[static_cast<std::size_t>(c)].type,
                                    u"%1.%2"_s.arg(Name, record.fieldName(c))));
        packet.rows.push_back(std::move(cells));
    }
    LoadPacket(packet);
}

} // namespace host
