#include "host/data/TField.h"

#include "host/context/FormatSettings.h"
#include "host/core/Refusal.h"
#include "host/data/TClientDataSet.h"
#include "host/data/TDateTimeField.h"
#include "host/data/TFloatField.h"
#include "host/data/TStringField.h"
#include "host/format/Formatting.h"

using namespace Qt::StringLiterals;

namespace host {

TField::TField(TClientDataSet& owner, int index, QString name, proto::FieldType type, int size)
    : Alignment(type == proto::FieldType::Float ? TAlignment::taRightJustify : TAlignment::taLeftJustify),
      owner_(owner), index_(index), name_(std::move(name)), type_(type), size_(size) {}

const DataCell& TField::cell() const {
    return owner_.readCell(index_);
}

bool TField::IsNull() const {
    return std::holds_alternative<std::monostate>(cell());
}

QString TField::plainText(const DataCell& value) const {
    if (const auto* text = std::get_if<QString>(&value))
        return *text;
    if (const auto* number = std::get_if<double>(&value))
        return type_ == proto::FieldType::DateTime ? DateTimeText(*number, FormatSettings())
                                                   : FormatFloatGeneral(*number, FormatSettings());
    return {};
}

QString TField::AsString() const {
    return plainText(cell());
}

double TField::AsFloat() const {
    const DataCell& value = cell();
    if (const auto* number = std::get_if<double>(&value))
        return *number;
    if (const auto* text = std::get_if<QString>(&value)) {
        if (const std::optional<double> parsed = ParseNumber(*text, FormatSettings()))
            return *parsed;
        throw Refusal(u"'%1' não é um valor numérico válido para o campo '%2'."_s.arg(*text, name_));
    }
    return 0;
}

double TField::AsDateTime() const {
    if (type_ != proto::FieldType::DateTime && !IsNull())
        throw Refusal(u"O campo '%1' não é uma data."_s.arg(name_));
    return AsFloat();
}

QString TField::DisplayText() const {
    if (OnGetText) {
        QString text;
        OnGetText(const_cast<TField&>(*this), text, true);
        return text;
    }
    return formattedText(cell());
}

QString TField::Text() const {
    if (OnGetText) {
        QString text;
        OnGetText(const_cast<TField&>(*this), text, false);
        return text;
    }
    return AsString();
}

DataCell TField::fromString(const QString& value) const {
    if (value.isEmpty())
        return std::monostate{};
    const std::optional<double> number = ParseNumber(value, FormatSettings());
    if (!number)
        throw Refusal(u"'%1' não é um valor válido para o campo '%2'."_s.arg(value, name_));
    return *number;
}

void TField::SetAsString(const QString& value) {
    store(fromString(value));
}

void TField::SetAsFloat(double value) {
    if (type_ == proto::FieldType::String)
        store(fromString(FloatTextLossless(value, FormatSettings())));
    else
        store(value);
}

void TField::SetAsDateTime(double days) {
    if (type_ != proto::FieldType::DateTime)
        throw Refusal(u"O campo '%1' não é uma data."_s.arg(name_));
    store(days);
}

void TField::Clear() {
    store(std::monostate{});
}

void TField::store(DataCell value) {
    owner_.writeCell(index_, std::move(value));
}

TStringField::TStringField(TClientDataSet& owner, int index, QString name, int size)
    : TField(owner, index, std::move(name), proto::FieldType::String, size > 0 ? size : kDefaultSize) {}

QString TStringField::formattedText(const DataCell& value) const {
    const QString text = plainText(value);
    return EditMask.isEmpty() ? text : FormatMaskText(EditMask, text);
}

DataCell TStringField::fromString(const QString& value) const {
    const auto length = value.toUcs4().size();
    if (length > Size())
        throw Refusal(u"O campo '%1' aceita no máximo %2 caracteres; recebeu %3."_s.arg(FieldName())
                          .arg(Size())
                          .arg(length));
    return value;
}

TFloatField::TFloatField(TClientDataSet& owner, int index, QString name)
    : TField(owner, index, std::move(name), proto::FieldType::Float, 0) {}

QString TFloatField::formattedText(const DataCell& value) const {
    const auto* number = std::get_if<double>(&value);
    if (!number || DisplayFormat.isEmpty())
        return plainText(value);
    return FormatFloat(DisplayFormat, *number, FormatSettings());
}

TDateTimeField::TDateTimeField(TClientDataSet& owner, int index, QString name)
    : TField(owner, index, std::move(name), proto::FieldType::DateTime, 0) {}

QString TDateTimeField::formattedText(const DataCell& value) const {
    const auto* days = std::get_if<double>(&value);
    if (!days || DisplayFormat.isEmpty())
        return plainText(value);
    return FormatDateTime(DisplayFormat, *days, FormatSettings());
}

} // namespace host
