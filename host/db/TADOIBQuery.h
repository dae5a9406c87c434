#pragma once

#include "host/data/TClientDataSet.h"

#include <QSqlDatabase>
#include <QString>
#include <QVariant>

#include <map>

namespace host {

// A named parameter of a query: a value, or null once cleared.
class TParam {
public:
    void SetAsString(const QString& value) { value_ = value; }
    void SetValue(const QVariant& value) { value_ = value; }
    void Clear() { value_ = QVariant(); }
    bool IsNull() const { return value_.isNull(); }
    const QVariant& Value() const { return value_; }

private:
    QVariant value_;
};

// The multi-dialect query of the local database: one statement per dialect, the one for the
// connection's driver chosen when it opens, named parameters, and its rows readable as a record set.
class TADOIBQuery : public TClientDataSet {
public:
    explicit TADOIBQuery(QString name = {});

    QString SQL;        // SQLite and PostgreSQL
    QString SQL_ORACLE; // QOCI
    QString SQL_MSSQL;  // QODBC
    QString SQL_IB;     // QIBASE

    // The general connection adcGeral unless another is set.
    void SetConnection(const QSqlDatabase& connection);

    // The statement slot for a driver name; throws Refusal for a driver with none.
    static const QString& statementFor(const TADOIBQuery& query, const QString& driverName);

    // Throws Refusal when the statement to run has no such parameter.
    TParam& ParamByName(const QString& name);

    // Runs the statement and loads every row, matched by name to declared fields (their types
    // convert the database's values) or taking the columns as fields when none are declared.
    void Open();

    // A statement with every ":NAME" outside quotes and comments replaced by "?", and the names in
    // order of use, so a name used twice binds both places.
    struct Positional {
        QString statement;
        QStringList names;
    };
    static Positional toPositional(const QString& statement);

private:
    QSqlDatabase connection() const;
    const QString& statement() const;

    std::map<QString, TParam> params_;
    QSqlDatabase connection_;
    bool ownConnection_ = false;
};

} // namespace host
