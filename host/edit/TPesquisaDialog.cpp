#include "host/edit/TPesquisaDialog.h"

#include "host/data/TClientDataSet.h"
#include "host/edit/TDataSetTableModel.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace host {

TPesquisaDialog::TPesquisaDialog(QWidget* parent, const QString& title, const TClientDataSet& dataSet)
    : QDialog(parent) {
    setObjectName(u"frmPesquisa"_s);
    setWindowTitle(u"Pesquisa: %1"_s.arg(title));
    setModal(true);

    auto* model = new TDataSetTableModel(dataSet, this);
    proxy_ = new QSortFilterProxyModel(this);
    proxy_->setSourceModel(model);
    proxy_->setFilterKeyColumn(-1);
    proxy_->setFilterCaseSensitivity(Qt::CaseInsensitive);

    filter_ = new QLineEdit(this);
    filter_->setObjectName(u"edtFiltro"_s);
    filter_->setPlaceholderText(u"Filtrar"_s);
    table_ = new QTableView(this);
    table_->setObjectName(u"grdPesquisa"_s);
    table_->setModel(proxy_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->resizeColumnsToContents();
    if (proxy_->rowCount() > 0)
        table_->setCurrentIndex(proxy_->index(0, 0));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(u"OK"_s);
    buttons->button(QDialogButtonBox::Cancel)->setText(u"Cancelar"_s);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(title, this);
    label->setBuddy(filter_);
    layout->addWidget(label);
    layout->addWidget(filter_);
    layout->addWidget(table_);
    layout->addWidget(buttons);
    resize(420, 320);

    connect(filter_, &QLineEdit::textChanged, this, [this](const QString& text) {
        proxy_->setFilterFixedString(text);
        if (!table_->currentIndex().isValid() && proxy_->rowCount() > 0)
            table_->setCurrentIndex(proxy_->index(0, 0));
    });
    connect(table_, &QTableView::doubleClicked, this, &QDialog::accept);
    filter_->installEventFilter(this);
    filter_->setFocus();
}

void TPesquisaDialog::accept() {
    QModelIndex current = table_->currentIndex();
    if (!current.isValid() && proxy_->rowCount() > 0)
        current = proxy_->index(0, 0);
    // Nothing left by the filter: there is nothing to pick, the window stays open.
    if (!current.isValid())
        return;
    picked_ = proxy_->mapToSource(current).row();
    QDialog::accept();
}

bool TPesquisaDialog::eventFilter(QObject* watched, QEvent* event) {
    // Up and down in the filter line move through the rows, so the keyboard alone can pick.
    if (watched == filter_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            const int rows = proxy_->rowCount();
            if (rows > 0) {
                const int row = table_->currentIndex().isValid() ? table_->currentIndex().row() : -1;
                const int next = std::clamp(row + (key == Qt::Key_Down ? 1 : -1), 0, rows - 1);
                table_->setCurrentIndex(proxy_->index(next, 0));
            }
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace host
