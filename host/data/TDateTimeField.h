#pragma once

#include "host/data/TField.h"

namespace host {

// A day and a time of day; shown by DisplayFormat when set, as short date (and time when not
// midnight) otherwise.
class TDateTimeField : public TField {
public:
    TDateTimeField(TClientDataSet& owner, int index, QString name);
    QString DisplayFormat;

protected:
    QString formattedText(const DataCell& value) const override;
};

} // namespace host
