#pragma once

#include <QAbstractTableModel>

namespace host {

class TClientDataSet;

// A read-only view of a record set's rows as the lookup shows them: one column per field, its
// display label as the title, the field's display text as the cell.
class TDataSetTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    TDataSetTableModel(const TClientDataSet& dataSet, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    const TClientDataSet& dataSet_;
};

} // namespace host
