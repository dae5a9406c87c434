#pragma once

#include "host/app/TControl.h"

#include <QPointer>
#include <QToolButton>

#include <functional>
#include <optional>

namespace host {

class TClientDataSet;
class TDataSource;
class TADOIBQuery;
class TEdit;

// What the lookup asks the chooser: pick one row of the set, or nothing.
struct PesquisaRequest {
    QWidget* parent;
    QString title;
    TClientDataSet& dataSet;
};
// Answers the picked row (0-based) or nothing when the user cancelled.
using PesquisaChooser = std::function<std::optional<int>(const PesquisaRequest&)>;

// The lookup button beside a code edit: opens the query behind its data source and lets the user
// pick a row of it; the picked row becomes the set's current row. A flat button that takes no
// focus, so pressing it does not leave the edit.
class TBtnPesquisa : public QToolButton, public TControl {
    Q_OBJECT
public:
    TBtnPesquisa(QWidget* parent, const QString& name);

    QString Hint() const { return toolTip(); }
    void SetHint(const QString& hint) { setToolTip(hint); }

    // The edit the lookup belongs to; it gets the focus back after a pick.
    TEdit* Associate = nullptr;
    QString Title;
    // The rows to pick from: a query, opened by each lookup when it is closed, or a set kept open by
    // its owner. The data source must be over that set (std::invalid_argument otherwise).
    void SetDataSource(TDataSource& source, TADOIBQuery& query);
    void SetDataSource(TDataSource& source);
    TDataSource* DataSource() const { return source_; }
    // Shown as an error when the set has no rows.
    QString EmptyError;

    // Before opening; setting proceed to false cancels the lookup.
    std::function<void(QObject* sender, bool& proceed)> OnBeforePesq;
    // After the user picked a row; the set stands on it.
    std::function<void(QObject* sender)> OnAfterPesq;

    // The lookup as the user's click runs it, with failures reaching the caller. Answers whether a
    // row was picked.
    bool Pesquisa();

    // The chooser every lookup uses: the search dialog unless a test put another in place. Answers
    // the previous one.
    static PesquisaChooser SetChooser(PesquisaChooser chooser);
    static std::optional<int> DialogChooser(const PesquisaRequest& request);

private:
    TDataSource* source_ = nullptr;
    TADOIBQuery* query_ = nullptr;
};

} // namespace host
