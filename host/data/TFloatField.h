#pragma once

#include "host/data/TField.h"

namespace host {

// A double; shown by DisplayFormat (e.g. "#,##0.00000") when set, in the general format otherwise.
class TFloatField : public TField {
public:
    TFloatField(TClientDataSet& owner, int index, QString name);
    QString DisplayFormat;

protected:
    QString formattedText(const DataCell& value) const override;
};

} // namespace host
