#pragma once

#include "host/app/TControl.h"

#include <QLabel>
#include <QPointer>

namespace host {

class TDataSource;

// A label showing one field of a data source's current row, as its display text; empty when there
// is no current row, no such field or no source.
class TDBText : public QLabel, public TControl {
    Q_OBJECT
public:
    TDBText(QWidget* parent, const QString& name);

    TDataSource* DataSource() const { return source_; }
    void SetDataSource(TDataSource* source);
    QString DataField() const { return field_; }
    void SetDataField(const QString& field);
    QString Caption() const { return text(); }
    bool Bold() const { return font().bold(); }
    void SetBold(bool bold);

private:
    void refresh();

    QPointer<TDataSource> source_;
    QMetaObject::Connection connections_[4];
    QString field_;
};

} // namespace host
