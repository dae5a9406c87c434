#include "host/grid/TDBText.h"

#include "host/data/TClientDataSet.h"
#include "host/data/TDataSource.h"

namespace host {

TDBText::TDBText(QWidget* parent, const QString& name)
    : QLabel(parent), TControl(static_cast<QWidget&>(*this)) {
    SetName(name);
}

void TDBText::SetDataSource(TDataSource* source) {
    for (auto& connection : connections_)
        disconnect(connection);
    source_ = source;
    if (source) {
        connections_[0] = connect(source, &TDataSource::dataReset, this, &TDBText::refresh);
        connections_[1] = connect(source, &TDataSource::currentRowChanged, this, &TDBText::refresh);
        connections_[2] = connect(source, &TDataSource::rowDataChanged, this, &TDBText::refresh);
        connections_[3] = connect(source, &QObject::destroyed, this, [this] { setText({}); });
    }
    refresh();
}

void TDBText::SetDataField(const QString& field) {
    field_ = field;
    refresh();
}

void TDBText::SetBold(bool bold) {
    QFont f = font();
    f.setBold(bold);
    setFont(f);
}

void TDBText::refresh() {
    const TClientDataSet* set = source_ ? source_->DataSet() : nullptr;
    const TField* field = set ? set->FindField(field_) : nullptr;
    setText(field && source_->currentRow() >= 0 ? field->DisplayText() : QString());
}

} // namespace host
