#include "host/grid/DataSetModel.h"

#include "host/data/TClientDataSet.h"
#include "host/data/TDataSource.h"
#include "host/grid/TColumn.h"

namespace host {

namespace {} // namespace

DataSetModel::DataSetModel(const TDBGridColumns& columns, QObject* parent)
    : QAbstractTableModel(parent), columns_(columns) {}

void DataSetModel::SetDataSource(TDataSource* source) {
    for (auto& connection : connections_)
        disconnect(connection);
    source_ = source;
    if (source) {
        connections_[0] = connect(source, &TDataSource::dataReset, this, &DataSetModel::reset);
        connections_[1] = connect(source, &TDataSource::rowDataChanged, this, [this](int row) {
            if (row >= 0 && row < rows_ && cols_ > 0)
                emit dataChanged(index(row, 0), index(row, cols_ - 1));
        });
        connections_[2] =
            connect(source, &TDataSource::currentRowChanged, this, &DataSetModel::currentRowChanged);
        // A source destroyed before the grid leaves an empty table, not a dangling one.
        connections_[3] = connect(source, &QObject::destroyed, this, [this] {
            source_ = nullptr;
            reset();
        });
    }
    reset();
}

TClientDataSet* DataSetModel::DataSet() const {
    return source_ ? source_->DataSet() : nullptr;
}

void DataSetModel::reset() {
    beginResetModel();
    const TClientDataSet* set = DataSet();
    rows_ = set && set->Active() ? set->RecordCount() : 0;
    cols_ = columns_.Count();
    endResetModel();
}

void DataSetModel::columnsChanged() {
    reset();
}

int DataSetModel::fieldIndex(int column) const {
    const TClientDataSet* set = DataSet();
    if (!set || column < 0 || column >= columns_.Count())
        return -1;
    const TField* field = set->FindField(columns_.Items(column).FieldName());
    return field ? field->Index() : -1;
}

int DataSetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int DataSetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : cols_;
}

QVariant DataSetModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_ || index.column() >= cols_)
        return {};
    switch (role) {
    case Qt::DisplayRole: {
        const TClientDataSet* set = DataSet();
        return set ? set->DisplayTextAt(index.row(), fieldIndex(index.column())) : QString();
    }
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(QtAlignment(columns_.Items(index.column()).Alignment()));
    case Qt::ToolTipRole: {
        const QString hint = RowHint ? RowHint(index.row()) : QString();
        return hint.isEmpty() ? QVariant() : QVariant(hint);
    }
    default:
        return {};
    }
}

QVariant DataSetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical) {
        // The indicator column marks the current row.
        if (role == Qt::DisplayRole) {
            const bool current = source_ && section == source_->currentRow();
            return current ? QStringLiteral("\u25B6") : QString();
        }
        return {};
    }
    if (section < 0 || section >= cols_)
        return {};
    const TColumn& column = columns_.Items(section);
    switch (role) {
    case Qt::DisplayRole:
        return column.Title.Caption();
    case Qt::FontRole:
        return column.Title.FontSet() ? QVariant(column.Title.Font()) : QVariant();
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(QtAlignment(column.Title.Alignment()));
    default:
        return {};
    }
}

Qt::ItemFlags DataSetModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

} // namespace host
