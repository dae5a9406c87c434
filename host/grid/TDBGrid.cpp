#include "host/grid/TDBGrid.h"

#include "host/app/Dispatch.h"
#include "host/app/TColors.h"
#include "host/core/Refusal.h"
#include "host/data/TClientDataSet.h"
#include "host/data/TDataSource.h"
#include "host/grid/DataSetModel.h"
#include "host/grid/VirtualKey.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTimer>

#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;

namespace host {

// Hands every data cell to the grid, which draws it itself: the look of a cell and the drawing
// event belong together.
class GridCellDelegate : public QStyledItemDelegate {
public:
    explicit GridCellDelegate(TDBGrid& grid) : QStyledItemDelegate(&grid), grid_(grid) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        grid_.drawCell(*painter, option.rect, index.row(), index.column());
    }

private:
    TDBGrid& grid_;
};

namespace {

bool isNavigationKey(int key) {
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return true;
    default:
        return false;
    }
}

// Characters a default-width column makes room for, by field type.
int defaultChars(const TField& field) {
    if (field.DisplayWidth > 0)
        return field.DisplayWidth;
    switch (field.DataType()) {
    case proto::FieldType::String:
        return field.Size();
    case proto::FieldType::DateTime:
        return 18;
    default:
        return 10;
    }
}

} // namespace

TDBGrid::TDBGrid(QWidget* parent, const QString& name)
    : QTableView(parent), TControl(static_cast<QWidget&>(*this)), columns_(*this),
      model_(new DataSetModel(columns_, this)), color_(clWindow()) {
    SetName(name);
    setModel(model_);
    setItemDelegate(new GridCellDelegate(*this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    // Read-only whatever the options say: the screens never edit in a grid.
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setCornerButtonEnabled(false);

    QHeaderView* titles = horizontalHeader();
    titles->setSectionsClickable(true);
    titles->setHighlightSections(false);
    titles->setMinimumSectionSize(4);
    // A title click is a command of its own, never a column selection.
    disconnect(titles, &QHeaderView::sectionPressed, this, nullptr);
    disconnect(titles, &QHeaderView::sectionEntered, this, nullptr);
    connect(titles, &QHeaderView::sectionClicked, this, [this](int section) {
        if (section < 0 || section >= columns_.Count() || !OnTitleClick)
            return;
        TColumn& column = columns_.Items(section);
        Dispatch([&] { OnTitleClick(column); });
    });
    connect(titles, &QHeaderView::sectionResized, this, [this](int section, int, int size) {
        if (!applyingWidths_ && section >= 0 && section < columns_.Count()) {
            columns_.Items(section).width_ = size;
            columns_.Items(section).dragged_ = true;
        }
    });

    QHeaderView* indicator = verticalHeader();
    indicator->setSectionResizeMode(QHeaderView::Fixed);
    indicator->setMinimumSectionSize(4);
    indicator->setDefaultSectionSize(fontMetrics().height() + 4);
    indicator->setFixedWidth(14);
    disconnect(indicator, &QHeaderView::sectionPressed, this, nullptr);
    disconnect(indicator, &QHeaderView::sectionEntered, this, nullptr);
    connect(indicator, &QHeaderView::sectionPressed, this, [this](int row) {
        setCurrentIndex(model_->index(row, std::clamp(selected_, 0, std::max(0, columns_.Count() - 1))));
    });

    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        applyColumnWidths();
        followDataSet();
    });
    connect(model_, &DataSetModel::currentRowChanged, this, [this] {
        followDataSet();
        verticalHeader()->viewport()->update();
    });

    applyOptions();
    applyPalette();
}

TDBGrid::~TDBGrid() {
    // The model must not call back into a half-destroyed grid.
    model_->SetDataSource(nullptr);
}

void TDBGrid::SetDataSource(TDataSource* source) {
    source_ = source;
    model_->SetDataSource(source);
}

int TDBGrid::SelectedIndex() const {
    return selected_;
}

void TDBGrid::SetSelectedIndex(int index) {
    if (index < 0 || index >= columns_.Count())
        throw Refusal(u"%1: coluna %2 inexistente."_s.arg(Name()).arg(index));
    selected_ = index;
    followDataSet();
    viewport()->update();
}

TField* TDBGrid::SelectedField() const {
    if (selected_ < 0 || selected_ >= columns_.Count())
        return nullptr;
    return columns_.Items(selected_).Field();
}

void TDBGrid::SetOptions(TDBGridOptions options) {
    options_ = options;
    applyOptions();
}

void TDBGrid::applyOptions() {
    horizontalHeader()->setVisible(options_.testFlag(TDBGridOption::dgTitles));
    verticalHeader()->setVisible(options_.testFlag(TDBGridOption::dgIndicator));
    horizontalHeader()->setSectionResizeMode(
        options_.testFlag(TDBGridOption::dgColumnResize) ? QHeaderView::Interactive : QHeaderView::Fixed);
    // The table draws row and column lines together; either option asks for them.
    setShowGrid(options_.testFlag(TDBGridOption::dgColLines) || options_.testFlag(TDBGridOption::dgRowLines));
    setTabKeyNavigation(options_.testFlag(TDBGridOption::dgTabs));
    viewport()->update();
}

void TDBGrid::SetColor(const QColor& color) {
    color_ = color;
    applyPalette();
}

void TDBGrid::applyPalette() {
    QPalette p = palette();
    // Every colour group alike, so the grid looks the same with or without the focus.
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(group, QPalette::Base, color_);
        p.setColor(group, QPalette::Highlight, SelectionColor());
        p.setColor(group, QPalette::HighlightedText, SelectionTextColor());
        p.setColor(group, QPalette::Text, clWindowText());
    }
    setPalette(p);
    viewport()->update();
}

void TDBGrid::SetBorderStyle(TGridBorderStyle style) {
    borderStyle_ = style;
    setFrameShape(style == TGridBorderStyle::bsNone ? QFrame::NoFrame : QFrame::StyledPanel);
}

QColor TDBGrid::SelectionColor() const {
    return clHighlight();
}

QColor TDBGrid::SelectionTextColor() const {
    return clHighlightText();
}

QRect TDBGrid::CellRect(int row, int column) const {
    return visualRect(model_->index(row, column));
}

void TDBGrid::columnsChanged() {
    model_->columnsChanged();
}

int TDBGrid::defaultWidth(const TColumn& column) const {
    const TField* field = column.Field();
    const int chars = field ? defaultChars(*field) : 10;
    return chars * fontMetrics().averageCharWidth() + 4;
}

int TDBGrid::neededWidth(const TColumn& column) const {
    // The title's padding is the header section's; a cell's text is inset by 2 on each side when drawn.
    int needed = QFontMetrics(column.Title.Font()).horizontalAdvance(column.Title.Caption()) + 12;
    const QFontMetrics metrics = fontMetrics();
    const int rows = std::min(model_->rowCount(), kMeasuredRows);
    for (int row = 0; row < rows; ++row)
        needed = std::max(
            needed,
            metrics.horizontalAdvance(model_->data(model_->index(row, column.Index())).toString()) + 6);
    return needed;
}

void TDBGrid::applyColumnWidths() {
    applyingWidths_ = true;
    for (int i = 0; i < columns_.Count(); ++i) {
        const TColumn& column = columns_.Items(i);
        if (column.dragged_)
            setColumnWidth(i, column.width_);
        else
            setColumnWidth(
                i, std::max(column.width_ > 0 ? column.width_ : defaultWidth(column), neededWidth(column)));
    }
    applyingWidths_ = false;
}

void TDBGrid::followDataSet() {
    const int row = source_ ? source_->currentRow() : -1;
    const bool wasFollowing = following_;
    following_ = true;
    if (row < 0 || row >= model_->rowCount() || columns_.Count() == 0) {
        selectionModel()->clearCurrentIndex();
        selectionModel()->clearSelection();
    } else {
        const QModelIndex cell = model_->index(row, std::clamp(selected_, 0, columns_.Count() - 1));
        if (cell != currentIndex())
            selectionModel()->setCurrentIndex(cell, QItemSelectionModel::ClearAndSelect);
        scrollTo(cell);
    }
    following_ = wasFollowing;
    viewport()->update();
}

void TDBGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (following_ || !current.isValid())
        return;
    selected_ = current.column();
    if (source_ && current.row() != source_->currentRow()) {
        const QPointer<TDataSource> source = source_;
        Dispatch([&] { source->setCurrentRow(current.row()); });
    }
    // Whatever the set's AfterScroll did, the grid shows where the set is now.
    followDataSet();
}

void TDBGrid::keyPressEvent(QKeyEvent* event) {
    int key = VirtualKeyOf(*event);
    if (OnKeyDown && key != 0) {
        const TShiftState shift =
            ShiftStateOf(event->modifiers() & ~Qt::KeypadModifier, QApplication::mouseButtons());
        const bool handled = Dispatch([&] { OnKeyDown(this, key, shift); });
        if (!handled || key == 0) {
            event->accept();
            return;
        }
    }
    // Moving is all a read-only grid does with keys; typing never searches or edits.
    if (isNavigationKey(event->key())) {
        QTableView::keyPressEvent(event);
        return;
    }
    event->ignore();
}

void TDBGrid::mousePressEvent(QMouseEvent* event) {
    pressed_ = indexAt(event->position().toPoint());
    QTableView::mousePressEvent(event);
}

void TDBGrid::mouseReleaseEvent(QMouseEvent* event) {
    QTableView::mouseReleaseEvent(event);
    const QPersistentModelIndex pressed = pressed_;
    pressed_ = {};
    if (event->button() != Qt::LeftButton || !pressed.isValid() || pressed != currentIndex())
        return;
    if (pressed.column() >= columns_.Count() || !OnCellClick)
        return;
    TColumn& column = columns_.Items(pressed.column());
    Dispatch([&] { OnCellClick(column); });
}

void TDBGrid::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    viewport()->update();
}

void TDBGrid::focusOutEvent(QFocusEvent* event) {
    QTableView::focusOutEvent(event);
    viewport()->update();
}

void TDBGrid::paintEvent(QPaintEvent* event) {
    paintFailure_ = nullptr;
    QTableView::paintEvent(event);
    if (!paintFailure_) {
        lastPaintFailure_.clear();
        return;
    }
    QString message;
    try {
        std::rethrow_exception(paintFailure_);
    } catch (const Refusal& refusal) {
        message = refusal.message();
    } catch (const std::exception& e) {
        message = QString::fromUtf8(e.what());
    } catch (...) {
        message = u"?"_s;
    }
    if (message == lastPaintFailure_)
        return;
    lastPaintFailure_ = message;
    // Reported after the painting: an error display inside a paint event would paint again.
    QTimer::singleShot(0, this,
                       [failure = paintFailure_] { Dispatch([&] { std::rethrow_exception(failure); }); });
}

void TDBGrid::drawCell(QPainter& painter, const QRect& rect, int row, int column) {
    if (column < 0 || column >= columns_.Count())
        return;
    TColumn& col = columns_.Items(column);
    TGridDrawState state;
    const bool current = source_ && row == source_->currentRow() && column == selected_;
    state.focused = current && hasFocus();
    state.selected = current && (hasFocus() || options_.testFlag(TDBGridOption::dgAlwaysShowSelection));

    painter.save();
    const TCanvas::Binding binding(canvas_, painter);
    try {
        canvas_.Brush.Color = state.selected ? SelectionColor() : color_;
        canvas_.Font = font();
        canvas_.FontColor = state.selected ? SelectionTextColor() : clWindowText();
        canvas_.FillRect(rect);
        const QString text = model_->data(model_->index(row, column)).toString();
        const auto alignment =
            model_->data(model_->index(row, column), Qt::TextAlignmentRole).value<Qt::Alignment>();
        canvas_.TextRect(rect.adjusted(2, 0, -2, 0), text, alignment);
        if (OnDrawColumnCell) {
            // The event reads the fields of the row it draws, not of the current row.
            std::optional<TClientDataSet::ShownRow> shown;
            if (const TClientDataSet* set = model_->DataSet())
                shown.emplace(*set, row);
            OnDrawColumnCell(*this, rect, column, col, state);
        }
    } catch (...) {
        if (!paintFailure_)
            paintFailure_ = std::current_exception();
    }
    painter.restore();
}

} // namespace host
