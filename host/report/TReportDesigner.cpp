#include "host/report/TReportDesigner.h"

#include "host/app/Dispatch.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace host {

TReportDesigner::TReportDesigner(const TReportDefinition& definition, QWidget* parent)
    : QDialog(parent), original_(definition) {
    setObjectName(u"TReportDesigner"_s);
    setWindowTitle(u"Relatório %1 - %2"_s.arg(definition.Code, definition.Title));
    resize(640, 480);

    edtTitulo = new QLineEdit(definition.Title, this);
    edtTitulo->setObjectName(u"edtTitulo"_s);
    memConsulta = new QPlainTextEdit(definition.Query, this);
    memConsulta->setObjectName(u"memConsulta"_s);
    grdColunas = new QTableWidget(0, 2, this);
    grdColunas->setObjectName(u"grdColunas"_s);
    grdColunas->setHorizontalHeaderLabels({u"Campo"_s, u"Título"_s});
    grdColunas->horizontalHeader()->setStretchLastSection(true);
    for (const TReportColumn& column : definition.Columns)
        IncluiColuna(column.FieldName, column.Title);

    btnIncluiColuna = new QPushButton(u"Incluir coluna"_s, this);
    btnExcluiColuna = new QPushButton(u"Excluir coluna"_s, this);
    btnSalvar = new QPushButton(u"Salvar"_s, this);
    btnSalvar->setDefault(true);
    btnCancelar = new QPushButton(u"Cancelar"_s, this);

    auto* form = new QFormLayout;
    form->addRow(u"Título:"_s, edtTitulo);
    form->addRow(u"Consulta:"_s, memConsulta);
    auto* columnButtons = new QHBoxLayout;
    columnButtons->addWidget(btnIncluiColuna);
    columnButtons->addWidget(btnExcluiColuna);
    columnButtons->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnSalvar);
    buttons->addWidget(btnCancelar);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(new QLabel(u"Colunas:"_s, this));
    layout->addWidget(grdColunas);
    layout->addLayout(columnButtons);
    layout->addLayout(buttons);

    connect(btnIncluiColuna, &QPushButton::clicked, this, [this] { Dispatch([this] { IncluiColuna(); }); });
    connect(btnExcluiColuna, &QPushButton::clicked, this, [this] { Dispatch([this] { ExcluiColuna(); }); });
    connect(btnSalvar, &QPushButton::clicked, this, [this] { Dispatch([this] { Salvar(); }); });
    connect(btnCancelar, &QPushButton::clicked, this, &QDialog::reject);
}

TReportDefinition TReportDesigner::Definition() const {
    TReportDefinition definition = original_;
    definition.Title = edtTitulo->text().trimmed();
    definition.Query = memConsulta->toPlainText();
    definition.Columns.clear();
    for (int row = 0; row < grdColunas->rowCount(); ++row) {
        const auto text = [&](int column) {
            const QTableWidgetItem* item = grdColunas->item(row, column);
            return item ? item->text().trimmed() : QString();
        };
        // A row left blank is one the user added and did not fill: it is no column.
        if (text(0).isEmpty() && text(1).isEmpty())
            continue;
        definition.Columns.append({text(0).toUpper(), text(1)});
    }
    return definition;
}

void TReportDesigner::IncluiColuna(const QString& field, const QString& title) {
    const int row = grdColunas->rowCount();
    grdColunas->insertRow(row);
    grdColunas->setItem(row, 0, new QTableWidgetItem(field));
    grdColunas->setItem(row, 1, new QTableWidgetItem(title));
    grdColunas->setCurrentCell(row, 0);
}

void TReportDesigner::ExcluiColuna() {
    const int row = grdColunas->currentRow();
    if (row >= 0)
        grdColunas->removeRow(row);
}

void TReportDesigner::Salvar() {
    Definition().CheckComplete();
    accept();
}

} // namespace host
