#include "host/grid/TColumn.h"

#include "host/core/Refusal.h"
#include "host/data/TClientDataSet.h"
#include "host/data/TDataSource.h"
#include "host/grid/SymbolFonts.h"
#include "host/grid/TDBGrid.h"

using namespace Qt::StringLiterals;

namespace host {

QString TColumnTitle::Caption() const {
    if (caption_)
        return symbolFont_ ? SymbolFontText(*caption_) : *caption_;
    if (const TField* field = column_.Field())
        return field->DisplayLabel();
    return column_.FieldName();
}

void TColumnTitle::SetCaption(const QString& caption) {
    caption_ = caption;
    column_.changed();
}

QFont TColumnTitle::Font() const {
    return font_ ? *font_ : column_.Grid().font();
}

void TColumnTitle::SetFont(const QString& family, int height) {
    QFont font = column_.Grid().font();
    symbolFont_ = IsMappedSymbolFont(family);
    font.setFamily(symbolFont_ ? SymbolGlyphFamily() : family);
    // Both signs give a pixel size: a positive height includes the leading above the characters,
    // which the font's metrics would only approximate.
    if (height != 0)
        font.setPixelSize(height < 0 ? -height : height);
    font_ = font;
    column_.changed();
}

void TColumnTitle::SetAlignment(TAlignment alignment) {
    alignment_ = alignment;
    column_.changed();
}

TColumn::TColumn(TDBGrid& grid) : Title(*this), grid_(grid) {}

void TColumn::SetFieldName(const QString& name) {
    fieldName_ = name;
    changed();
}

TField* TColumn::Field() const {
    const TDataSource* source = grid_.DataSource();
    const TClientDataSet* set = source ? source->DataSet() : nullptr;
    return set ? set->FindField(fieldName_) : nullptr;
}

TAlignment TColumn::Alignment() const {
    if (alignment_)
        return *alignment_;
    const TField* field = Field();
    return field ? field->Alignment : TAlignment::taLeftJustify;
}

void TColumn::SetAlignment(TAlignment alignment) {
    alignment_ = alignment;
    changed();
}

int TColumn::Width() const {
    return width_ > 0 ? width_ : grid_.columnWidth(Index());
}

void TColumn::SetWidth(int width) {
    width_ = width;
    dragged_ = false;
    changed();
}

int TColumn::Index() const {
    return grid_.Columns().IndexOf(*this);
}

void TColumn::changed() {
    grid_.columnsChanged();
}

TColumn& TDBGridColumns::Add() {
    columns_.push_back(std::unique_ptr<TColumn>(new TColumn(grid_)));
    grid_.columnsChanged();
    return *columns_.back();
}

TColumn& TDBGridColumns::Items(int index) const {
    if (index < 0 || index >= Count())
        throw Refusal(u"%1: coluna %2 inexistente."_s.arg(grid_.Name()).arg(index));
    return *columns_[static_cast<std::size_t>(index)];
}

void TDBGridColumns::Clear() {
    columns_.clear();
    grid_.columnsChanged();
}

int TDBGridColumns::IndexOf(const TColumn& column) const {
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        if (columns_[i].get() == &column)
            return static_cast<int>(i);
    }
    return -1;
}

} // namespace host
