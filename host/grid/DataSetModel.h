#pragma once

#include <QAbstractTableModel>
#include <QPointer>

#include <functional>

namespace host {

class TDataSource;
class TDBGridColumns;
class TClientDataSet;

// The table model of a data grid: the rows of the source's record set, the grid's columns, each cell
// the display text of its column's field. Follows the source's signals; a source or record set that
// is gone gives an empty table.
class DataSetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    DataSetModel(const TDBGridColumns& columns, QObject* parent);

    void SetDataSource(TDataSource* source);
    TClientDataSet* DataSet() const;
    // The record-set field of a grid column, -1 when the set has none.
    int fieldIndex(int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The columns changed: titles, fields or count.
    void columnsChanged();

    // The tool tip of a data row, by its row in the record set; none when unset or empty.
    std::function<QString(int row)> RowHint;

signals:
    void currentRowChanged(int row);

private:
    void reset();

    const TDBGridColumns& columns_;
    QPointer<TDataSource> source_;
    QMetaObject::Connection connections_[4];
    int rows_ = 0;
    int cols_ = 0;
};

} // namespace host
