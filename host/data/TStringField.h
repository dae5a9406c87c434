#pragma once

#include "host/data/TField.h"

namespace host {

// Text of at most Size characters; a field declared without a size holds 20.
class TStringField : public TField {
public:
    static constexpr int kDefaultSize = 20;
    TStringField(TClientDataSet& owner, int index, QString name, int size = kDefaultSize);

protected:
    QString formattedText(const DataCell& value) const override;
    DataCell fromString(const QString& value) const override;
};

} // namespace host
