#include "host/edit/TDataSetTableModel.h"

#include "host/data/TClientDataSet.h"

namespace host {

TDataSetTableModel::TDataSetTableModel(const TClientDataSet& dataSet, QObject* parent)
    : QAbstractTableModel(parent), dataSet_(dataSet) {}

int TDataSetTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : dataSet_.RecordCount();
}

int TDataSetTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : dataSet_.FieldCount();
}

QVariant TDataSetTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) || role != Qt::DisplayRole)
        return {};
    return dataSet_.DisplayTextAt(index.row(), index.column());
}

QVariant TDataSetTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    if (section < 0 || section >= dataSet_.FieldCount())
        return {};
    return dataSet_.Fields(section).DisplayLabel();
}

} // namespace host
