#pragma once

#include "host/report/TReportDefinition.h"

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace host {

// The designer window of a report: its title, its query and its columns (field and heading), which
// the user changes and saves. Saving refuses an incomplete definition and keeps the window open.
class TReportDesigner : public QDialog {
    Q_OBJECT
public:
    TReportDesigner(const TReportDefinition& definition, QWidget* parent);

    // The definition as the window shows it now.
    TReportDefinition Definition() const;

    QLineEdit* edtTitulo;
    QPlainTextEdit* memConsulta;
    QTableWidget* grdColunas;
    QPushButton* btnIncluiColuna;
    QPushButton* btnExcluiColuna;
    QPushButton* btnSalvar;
    QPushButton* btnCancelar;

    void IncluiColuna(const QString& field = {}, const QString& title = {});
    void ExcluiColuna();
    // Saves when the definition is complete; refuses (Refusal) and stays open otherwise.
    void Salvar();

private:
    TReportDefinition original_;
};

} // namespace host
