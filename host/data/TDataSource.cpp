#include "host/data/TDataSource.h"

#include "host/data/TClientDataSet.h"

#include <algorithm>

namespace host {

TDataSource::TDataSource(QObject* parent) : QObject(parent) {}

TDataSource::~TDataSource() {
    SetDataSet(nullptr);
}

void TDataSource::SetDataSet(TClientDataSet* dataSet) {
    if (dataSet == dataSet_)
        return;
    if (dataSet_) {
        auto& sources = dataSet_->sources_;
        sources.erase(std::remove(sources.begin(), sources.end(), this), sources.end());
    }
    dataSet_ = dataSet;
    if (dataSet_)
        dataSet_->sources_.push_back(this);
    emit dataReset();
    emit currentRowChanged(currentRow());
}

int TDataSource::currentRow() const {
    return dataSet_ && dataSet_->RecNo() > 0 ? dataSet_->RecNo() - 1 : -1;
}

void TDataSource::setCurrentRow(int row) {
    if (!dataSet_ || row == currentRow())
        return;
    dataSet_->SetRecNo(row + 1);
}

} // namespace host
