#pragma once

#include <QDialog>

#include <optional>

class QLineEdit;
class QSortFilterProxyModel;
class QTableView;

namespace host {

class TClientDataSet;

// The lookup's search window: the set's rows under their fields' display labels, a filter line
// that keeps the rows containing its text in any column (ignoring case), OK and Cancel. Enter picks
// the current row, the first one shown when none is current.
class TPesquisaDialog : public QDialog {
    Q_OBJECT
public:
    TPesquisaDialog(QWidget* parent, const QString& title, const TClientDataSet& dataSet);

    QLineEdit* filterEdit() const { return filter_; }
    QTableView* table() const { return table_; }
    // The row of the set picked, once accepted.
    std::optional<int> pickedRow() const { return picked_; }

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* filter_;
    QTableView* table_;
    QSortFilterProxyModel* proxy_;
    std::optional<int> picked_;
};

} // namespace host
