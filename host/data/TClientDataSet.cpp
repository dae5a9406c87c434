#include "host/data/TClientDataSet.h"

#include "host/core/Refusal.h"
#include "host/core/ScopeGuard.h"
#include "host/data/TDataSource.h"
#include "protocol/Utf8.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace host {

namespace {

const DataCell kNull{};

QString typeName(proto::FieldType type) {
    return QString::fromUtf8(proto::fieldTypeName(type));
}

} // namespace

TClientDataSet::TClientDataSet(QString name) : Name(std::move(name)) {}

TClientDataSet::~TClientDataSet() {
    for (TDataSource* source : sources_) {
        source->dataSet_ = nullptr;
        emit source->dataReset();
    }
}

template <typename F, typename... Args> F& TClientDataSet::addField(Args&&... args) {
    checkClosed("declarar campos");
    auto field = std::make_unique<F>(*this, FieldCount(), std::forward<Args>(args)...);
    if (FindField(field->FieldName()))
        throw Refusal(u"O campo '%1' já foi declarado em %2."_s.arg(field->FieldName(), Name));
    F& added = *field;
    fields_.push_back(std::move(field));
    return added;
}

TStringField& TClientDataSet::AddStringField(const QString& name, int size) {
    return addField<TStringField>(name, size);
}

TFloatField& TClientDataSet::AddFloatField(const QString& name) {
    return addField<TFloatField>(name);
}

TDateTimeField& TClientDataSet::AddDateTimeField(const QString& name) {
    return addField<TDateTimeField>(name);
}

TField& TClientDataSet::Fields(int index) const {
    if (index < 0 || index >= FieldCount())
        throw Refusal(u"Índice de campo %1 fora dos limites de %2."_s.arg(index).arg(Name));
    return *fields_[static_cast<std::size_t>(index)];
}

TField* TClientDataSet::FindField(const QString& name) const {
    for (const auto& field : fields_)
        if (field->FieldName().compare(name, Qt::CaseInsensitive) == 0)
            return field.get();
    return nullptr;
}

TField& TClientDataSet::FieldByName(const QString& name) const {
    if (TField* field = FindField(name))
        return *field;
    throw Refusal(u"%1: campo '%2' não encontrado."_s.arg(Name, name));
}

void TClientDataSet::checkClosed(const char* what) const {
    if (Active())
        throw Refusal(
            u"%1: não é possível %2 com o conjunto de dados aberto."_s.arg(Name, QString::fromUtf8(what)));
}

void TClientDataSet::LoadPacket(const proto::Packet& packet) {
    const bool adopt = fields_.empty();
    // Everything is checked into new rows first; the set changes only once all of it is good.
    std::vector<std::unique_ptr<TField>> adopted;
    std::vector<const proto::FieldDef*> defs;
    std::vector<int> columns;
    if (adopt) {
        for (const auto& def : packet.fields) {
            const QString name = QString::fromStdString(def.name);
            const int index = static_cast<int>(adopted.size());
            switch (def.type) {
            case proto::FieldType::String:
                adopted.push_back(std::make_unique<TStringField>(*this, index, name, def.size));
                break;
            case proto::FieldType::DateTime:
                adopted.push_back(std::make_unique<TDateTimeField>(*this, index, name));
                break;
            case proto::FieldType::Float:
            case proto::FieldType::Integer:
                adopted.push_back(std::make_unique<TFloatField>(*this, index, name));
                break;
            }
        }
    }
    const auto& declared = adopt ? adopted : fields_;
    for (const auto& field : declared) {
        const int column = packet.fieldIndex(field->FieldName().toStdString());
        if (column < 0)
            throw Refusal(
                u"Pacote de dados recusado em %1: falta o campo '%2'."_s.arg(Name, field->FieldName()));
        const proto::FieldDef& def = packet.fields[static_cast<std::size_t>(column)];
        const bool numeric = def.type == proto::FieldType::Float || def.type == proto::FieldType::Integer;
        const bool matches =
            field->DataType() == def.type || (field->DataType() == proto::FieldType::Float && numeric);
        if (!matches)
            throw Refusal(
                u"Pacote de dados recusado em %1: o campo '%2' deveria ser %3 e veio como %4."_s.arg(
                    Name, field->FieldName(), typeName(field->DataType()), typeName(def.type)));
        columns.push_back(column);
    }
    std::vector<std::vector<DataCell>> rows;
    rows.reserve(packet.rows.size());
    for (std::size_t r = 0; r < packet.rows.size(); ++r) {
        const auto& source = packet.rows[r];
        if (source.size() != packet.fields.size())
            throw Refusal(
                u"Pacote de dados recusado em %1: a linha %2 tem %3 valores para %4 campos."_s.arg(Name)
                    .arg(r + 1)
                    .arg(source.size())
                    .arg(packet.fields.size()));
        std::vector<DataCell> row;
        row.reserve(declared.size());
        for (std::size_t f = 0; f < declared.size(); ++f) {
            const TField& field = *declared[f];
            const proto::Value& value = source[static_cast<std::size_t>(columns[f])];
            const auto wrong = [&] {
                return Refusal(
                    u"Pacote de dados recusado em %1: valor de tipo inválido no campo '%2', linha %3."_s
                        .arg(Name, field.FieldName())
                        .arg(r + 1));
            };
            if (proto::isNull(value)) {
                if (field.Required)
                    throw Refusal(
                        u"Pacote de dados recusado em %1: o campo '%2' é obrigatório e a linha %3 o traz vazio."_s
                            .arg(Name, field.FieldName())
                            .arg(r + 1));
                row.emplace_back(std::monostate{});
            } else if (field.DataType() == proto::FieldType::String) {
                const auto* text = std::get_if<std::string>(&value);
                if (!text)
                    throw wrong();
                const auto length = proto::utf8Length(*text);
                if (length > static_cast<std::size_t>(field.Size()))
                    throw Refusal(
                        u"Pacote de dados recusado em %1: o campo '%2' aceita %3 caracteres e a linha %4 traz %5."_s
                            .arg(Name, field.FieldName())
                            .arg(field.Size())
                            .arg(r + 1)
                            .arg(length));
                row.emplace_back(QString::fromStdString(*text));
            } else if (field.DataType() == proto::FieldType::DateTime) {
                const auto* date = std::get_if<proto::DateTime>(&value);
                if (!date)
                    throw wrong();
                row.emplace_back(date->days);
            } else if (const auto* number = std::get_if<double>(&value)) {
                row.emplace_back(*number);
            } else if (const auto* integer = std::get_if<std::int64_t>(&value)) {
                row.emplace_back(static_cast<double>(*integer));
            } else {
                throw wrong();
            }
        }
        rows.push_back(std::move(row));
    }
    if (adopt)
        fields_ = std::move(adopted);
    resetRows(std::move(rows));
}

void TClientDataSet::CreateDataSet() {
    resetRows({});
}

void TClientDataSet::Close() {
    rows_.clear();
    rowIds_.clear();
    editBuffer_.clear();
    state_ = TDataSetState::dsInactive;
    current_ = -1;
    eof_ = bof_ = true;
    notifyReset();
}

void TClientDataSet::EmptyDataSet() {
    if (!Active())
        throw Refusal(u"%1: o conjunto de dados não está aberto."_s.arg(Name));
    resetRows({});
}

void TClientDataSet::resetRows(std::vector<std::vector<DataCell>> rows) {
    rows_ = std::move(rows);
    rowIds_.resize(rows_.size());
    for (auto& id : rowIds_)
        id = nextRowId_++;
    editBuffer_.clear();
    state_ = TDataSetState::dsBrowse;
    current_ = -1;
    eof_ = bof_ = true;
    notifyReset();
    notifyState();
    if (!rows_.empty())
        moveTo(0, true);
}

void TClientDataSet::checkBrowse() {
    if (!Active())
        throw Refusal(u"%1: o conjunto de dados não está aberto."_s.arg(Name));
    if (state_ == TDataSetState::dsEdit)
        Post();
}

void TClientDataSet::moveTo(int row, bool force) {
    const bool changed = row != current_;
    current_ = row;
    eof_ = bof_ = rows_.empty();
    if (!changed && !force)
        return;
    notifyCurrent();
    if (AfterScroll)
        AfterScroll(*this);
}

void TClientDataSet::SetRecNo(int recNo) {
    checkBrowse();
    if (recNo < 1 || recNo > RecordCount())
        throw Refusal(u"%1: registro %2 inexistente."_s.arg(Name).arg(recNo));
    moveTo(recNo - 1, false);
}

void TClientDataSet::First() {
    checkBrowse();
    if (!rows_.empty())
        moveTo(0, false);
    bof_ = true;
}

void TClientDataSet::Last() {
    checkBrowse();
    if (!rows_.empty())
        moveTo(RecordCount() - 1, false);
    eof_ = true;
}

void TClientDataSet::Next() {
    checkBrowse();
    if (current_ + 1 < RecordCount())
        moveTo(current_ + 1, false);
    else
        eof_ = true;
}

void TClientDataSet::Prior() {
    checkBrowse();
    if (current_ > 0)
        moveTo(current_ - 1, false);
    else
        bof_ = true;
}

bool TClientDataSet::Locate(const QString& fieldName, const QVariant& value, bool ignoreCase) {
    checkBrowse();
    const TField& field = FieldByName(fieldName);
    const int column = field.Index();
    const auto equals = [&](const DataCell& cell) {
        if (value.isNull())
            return std::holds_alternative<std::monostate>(cell);
        if (const auto* text = std::get_if<QString>(&cell))
            return text->compare(value.toString(), ignoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive) == 0;
        if (const auto* number = std::get_if<double>(&cell)) {
            bool ok = false;
            const double wanted = value.toDouble(&ok);
            return ok && wanted == *number;
        }
        return false;
    };
    for (int row = 0; row < RecordCount(); ++row) {
        if (equals(rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)])) {
            moveTo(row, false);
            return true;
        }
    }
    return false;
}

void TClientDataSet::Edit() {
    if (!Active())
        throw Refusal(u"%1: o conjunto de dados não está aberto."_s.arg(Name));
    if (state_ == TDataSetState::dsEdit)
        return;
    if (current_ < 0)
        throw Refusal(u"%1: não há registro para editar."_s.arg(Name));
    editBuffer_ = rows_[static_cast<std::size_t>(current_)];
    state_ = TDataSetState::dsEdit;
    notifyState();
}

void TClientDataSet::Post() {
    if (state_ != TDataSetState::dsEdit)
        throw Refusal(u"%1: o conjunto de dados não está em edição."_s.arg(Name));
    rows_[static_cast<std::size_t>(current_)] = std::move(editBuffer_);
    editBuffer_.clear();
    state_ = TDataSetState::dsBrowse;
    notifyRowData(current_);
    notifyState();
}

void TClientDataSet::Cancel() {
    if (state_ != TDataSetState::dsEdit)
        return;
    editBuffer_.clear();
    state_ = TDataSetState::dsBrowse;
    notifyRowData(current_);
    notifyState();
}

TBookmark TClientDataSet::GetBookmark() const {
    if (current_ < 0)
        return {};
    return TBookmark{rowIds_[static_cast<std::size_t>(current_)]};
}

bool TClientDataSet::BookmarkValid(const TBookmark& bookmark) const {
    return !bookmark.isNull() && std::find(rowIds_.begin(), rowIds_.end(), bookmark.row) != rowIds_.end();
}

void TClientDataSet::GotoBookmark(const TBookmark& bookmark) {
    checkBrowse();
    const auto found =
        bookmark.isNull() ? rowIds_.end() : std::find(rowIds_.begin(), rowIds_.end(), bookmark.row);
    if (found == rowIds_.end())
        throw Refusal(u"%1: o registro marcado não existe mais."_s.arg(Name));
    moveTo(static_cast<int>(found - rowIds_.begin()), false);
}

void TClientDataSet::DisableControls() {
    ++disabled_;
}

void TClientDataSet::EnableControls() {
    if (disabled_ == 0)
        return;
    if (--disabled_ == 0 && pendingRefresh_) {
        pendingRefresh_ = false;
        notifyReset();
        notifyState();
        notifyCurrent();
    }
}

const DataCell& TClientDataSet::CellAt(int row, int field) const {
    if (row < 0 || row >= RecordCount() || field < 0 || field >= FieldCount())
        return kNull;
    if (row == current_ && state_ == TDataSetState::dsEdit)
        return editBuffer_[static_cast<std::size_t>(field)];
    return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(field)];
}

QString TClientDataSet::DisplayTextAt(int row, int field) const {
    // Painting asks for any cell it thinks exists; a stale index shows nothing instead of failing.
    if (row < 0 || row >= RecordCount() || field < 0 || field >= FieldCount())
        return {};
    const int saved = shown_;
    shown_ = row;
    const ScopeGuard restore([this, saved] { shown_ = saved; });
    return Fields(field).DisplayText();
}

const DataCell& TClientDataSet::readCell(int field) const {
    return CellAt(shown_ >= 0 ? shown_ : current_, field);
}

void TClientDataSet::writeCell(int field, DataCell value) {
    if (state_ != TDataSetState::dsEdit)
        throw Refusal(u"%1: o conjunto de dados não está em edição."_s.arg(Name));
    editBuffer_[static_cast<std::size_t>(field)] = std::move(value);
    notifyRowData(current_);
}

void TClientDataSet::notifyReset() {
    if (disabled_ > 0) {
        pendingRefresh_ = true;
        return;
    }
    for (TDataSource* source : sources_)
        emit source->dataReset();
}

void TClientDataSet::notifyCurrent() {
    if (disabled_ > 0) {
        pendingRefresh_ = true;
        return;
    }
    for (TDataSource* source : sources_)
        emit source->currentRowChanged(current_);
}

void TClientDataSet::notifyRowData(int row) {
    if (disabled_ > 0) {
        pendingRefresh_ = true;
        return;
    }
    for (TDataSource* source : sources_)
        emit source->rowDataChanged(row);
}

void TClientDataSet::notifyState() {
    if (disabled_ > 0) {
        pendingRefresh_ = true;
        return;
    }
    for (TDataSource* source : sources_)
        emit source->stateChanged();
}

} // namespace host
