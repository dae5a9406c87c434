#pragma once

#include "host/app/TControl.h"
#include "host/app/TShiftState.h"
#include "host/data/TDataSource.h"
#include "host/grid/TCanvas.h"
#include "host/grid/TColumn.h"
#include "host/grid/TGridDrawState.h"

#include <QFlags>
#include <QPointer>
#include <QTableView>

#include <exception>
#include <functional>

namespace host {

class TField;
class DataSetModel;

enum class TDBGridOption {
    dgEditing = 0x1,
    dgTitles = 0x2,
    dgIndicator = 0x4,
    dgColumnResize = 0x8,
    dgColLines = 0x10,
    dgRowLines = 0x20,
    dgTabs = 0x40,
    dgAlwaysShowSelection = 0x80,
};
Q_DECLARE_FLAGS(TDBGridOptions, TDBGridOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TDBGridOptions)

enum class TGridBorderStyle { bsNone, bsSingle };

// A read-only grid over a data source: one row per record, one column per TColumn. The grid's
// current row is the record set's current row, both ways; moving it runs the set's AfterScroll,
// whose failure reaches the error display. The grid never edits or deletes rows, whatever keys
// reach it. The data source may go before the grid: the grid then shows nothing.
class TDBGrid : public QTableView, public TControl {
    Q_OBJECT
public:
    TDBGrid(QWidget* parent, const QString& name);
    ~TDBGrid() override;

    TDataSource* DataSource() const { return source_; }
    void SetDataSource(TDataSource* source);

    TDBGridColumns& Columns() { return columns_; }
    const TDBGridColumns& Columns() const { return columns_; }

    // The column of the current cell, from 0.
    int SelectedIndex() const;
    void SetSelectedIndex(int index);
    // The field of the current cell's column, or nothing.
    TField* SelectedField() const;

    TDBGridOptions Options() const { return options_; }
    void SetOptions(TDBGridOptions options);
    QColor Color() const { return color_; }
    void SetColor(const QColor& color);
    TGridBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TGridBorderStyle style);
    // Text and background of the current cell.
    QColor SelectionColor() const;
    QColor SelectionTextColor() const;

    // Valid while OnDrawColumnCell runs; its brush holds the colour the cell was filled with.
    TCanvas& Canvas() { return canvas_; }

    // After a click on a data cell has moved the current cell there.
    std::function<void(TColumn& column)> OnCellClick;
    // Before the grid handles a key; setting the key to 0 discards it.
    std::function<void(QObject* sender, int& key, TShiftState shift)> OnKeyDown;
    std::function<void(TColumn& column)> OnTitleClick;
    // After the grid's own drawing of each data cell.
    std::function<void(TDBGrid& sender, const QRect& rect, int dataCol, TColumn& column,
                       const TGridDrawState& state)>
        OnDrawColumnCell;

    // The rectangle of a data cell in the grid's pixel coordinates (those of OnDrawColumnCell).
    QRect CellRect(int row, int column) const;
    DataSetModel& model() const { return *model_; }

    // Used by the columns.
    void columnsChanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    friend class GridCellDelegate;
    void followDataSet();
    void applyOptions();
    void applyColumnWidths();
    void applyPalette();
    int defaultWidth(const TColumn& column) const;
    // What the title and the values shown need in the grid's fonts; the first rows only, so a long
    // set costs no more than a screenful or two.
    int neededWidth(const TColumn& column) const;
    static constexpr int kMeasuredRows = 200;
    // Draws one data cell: the default look, then OnDrawColumnCell.
    void drawCell(QPainter& painter, const QRect& rect, int row, int column);

    QPointer<TDataSource> source_;
    TDBGridColumns columns_;
    DataSetModel* model_;
    TCanvas canvas_;
    TDBGridOptions options_ = TDBGridOptions(TDBGridOption::dgEditing) | TDBGridOption::dgTitles |
                              TDBGridOption::dgIndicator | TDBGridOption::dgColumnResize |
                              TDBGridOption::dgColLines | TDBGridOption::dgRowLines | TDBGridOption::dgTabs;
    QColor color_;
    TGridBorderStyle borderStyle_ = TGridBorderStyle::bsSingle;
    QModelIndex pressed_;
    int selected_ = 0;
    bool following_ = false;
    bool applyingWidths_ = false;
    // A failure while drawing is reported once the painting is over, and only once until the grid
    // draws cleanly again.
    std::exception_ptr paintFailure_;
    QString lastPaintFailure_;
};

} // namespace host
