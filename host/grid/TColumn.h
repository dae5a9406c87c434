#pragma once

#include "host/data/TAlignment.h"

#include <QFont>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace host {

class TColumn;
class TDBGrid;
class TField;

// A column title: its caption (the field's display label until one is set), its own font when it
// has one, its alignment.
class TColumnTitle {
public:
    QString Caption() const;
    void SetCaption(const QString& caption);
    bool CaptionSet() const { return caption_.has_value(); }

    // The grid's font until one is set. A negative height is the character height in pixels. A symbol
    // font the machine lacks is replaced by one with the glyphs, and the caption's codes by the glyphs.
    QFont Font() const;
    void SetFont(const QString& family, int height);
    bool FontSet() const { return font_.has_value(); }

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);

private:
    friend class TColumn;
    explicit TColumnTitle(TColumn& column) : column_(column) {}
    TColumn& column_;
    std::optional<QString> caption_;
    std::optional<QFont> font_;
    bool symbolFont_ = false;
    TAlignment alignment_ = TAlignment::taLeftJustify;
};

// One column of a data grid, showing the field of its name.
class TColumn {
public:
    TColumn(const TColumn&) = delete;
    TColumn& operator=(const TColumn&) = delete;

    QString FieldName() const { return fieldName_; }
    void SetFieldName(const QString& name);
    // The field of the grid's record set, or nothing when the set has none of that name.
    TField* Field() const;

    TColumnTitle Title;

    // The field's alignment until the column sets one.
    TAlignment Alignment() const;
    void SetAlignment(TAlignment alignment);
    // 0 until set: the grid's default width for the field. The grid widens a column to its title and
    // values; the width set is the least it gets.
    int Width() const;
    void SetWidth(int width);
    bool WidthSet() const { return width_ > 0; }
    // Position among the grid's columns, from 0.
    int Index() const;
    TDBGrid& Grid() const { return grid_; }

private:
    friend class TDBGridColumns;
    friend class TColumnTitle;
    friend class TDBGrid; // keeps the width the user dragged
    explicit TColumn(TDBGrid& grid);
    void changed();

    TDBGrid& grid_;
    QString fieldName_;
    std::optional<TAlignment> alignment_;
    int width_ = 0;
    // The user dragged the width: kept as it is, never widened again.
    bool dragged_ = false;
};

// The columns of a grid, left to right.
class TDBGridColumns {
public:
    TColumn& Add();
    int Count() const { return static_cast<int>(columns_.size()); }
    // Refusal for an index out of range.
    TColumn& Items(int index) const;
    TColumn& operator[](int index) const { return Items(index); }
    void Clear();
    int IndexOf(const TColumn& column) const;

private:
    friend class TDBGrid;
    explicit TDBGridColumns(TDBGrid& grid) : grid_(grid) {}
    TDBGrid& grid_;
    std::vector<std::unique_ptr<TColumn>> columns_;
};

} // namespace host
