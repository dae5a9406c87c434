#pragma once

#include "host/data/DataCell.h"
#include "host/data/TAlignment.h"
#include "protocol/Packet.h"

#include <QString>

#include <functional>

namespace host {

class TClientDataSet;

// A persistent field of a record set: its column of the current record, read and written by type.
// Reading a field reads the record being shown (the current one, or the one a grid is painting).
class TField {
public:
    // The text event: the field that asks, the text to fill (starts empty) and whether the text is for
    // display (true) or for editing (false).
    using GetTextEvent = std::function<void(TField& sender, QString& text, bool displayText)>;

    virtual ~TField() = default;
    TField(const TField&) = delete;
    TField& operator=(const TField&) = delete;

    const QString& FieldName() const { return name_; }
    proto::FieldType DataType() const { return type_; }
    int Size() const { return size_; }
    int Index() const { return index_; }
    TClientDataSet& DataSet() const { return owner_; }

    // The grid column title where the column sets none: the field name until one is set.
    QString DisplayLabel() const { return displayLabel_.isEmpty() ? name_ : displayLabel_; }
    void SetDisplayLabel(const QString& label) { displayLabel_ = label; }
    QString EditMask;
    GetTextEvent OnGetText;
    // Numbers line up on their last digit: a float field is right-aligned until told otherwise.
    TAlignment Alignment;
    // A required field refuses a packet whose row leaves it null.
    bool Required = false;
    // Characters a grid gives the field by default; 0: its size (texts) or the type's own.
    int DisplayWidth = 0;

    bool IsNull() const;
    QString AsString() const;
    double AsFloat() const;
    double AsDateTime() const;
    // The text shown by grids and data-bound texts; the text event's when one is set.
    QString DisplayText() const;
    // The text for editing; the text event's (asked with displayText false) when one is set.
    QString Text() const;

    // Writing needs the record set in edit state; a value the field cannot hold is refused whole.
    void SetAsString(const QString& value);
    void SetAsFloat(double value);
    void SetAsDateTime(double days);
    void Clear();

protected:
    TField(TClientDataSet& owner, int index, QString name, proto::FieldType type, int size);
    const DataCell& cell() const;
    // The stored value as text without any display format.
    virtual QString plainText(const DataCell& value) const;
    // The display text when no text event is set.
    virtual QString formattedText(const DataCell& value) const { return plainText(value); }
    virtual DataCell fromString(const QString& value) const;
    void store(DataCell value);

private:
    TClientDataSet& owner_;
    int index_;
    QString name_;
    proto::FieldType type_;
    int size_;
    QString displayLabel_;
};

} // namespace host
