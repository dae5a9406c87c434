#include "host/edit/TBtnPesquisa.h"

#include "host/app/Dialogs.h"
#include "host/app/Dispatch.h"
#include "host/app/TApplication.h"
#include "host/data/TDataSource.h"
#include "host/db/TADOIBQuery.h"
#include "host/edit/TEdit.h"
#include "host/edit/TPesquisaDialog.h"

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace host {

namespace {

PesquisaChooser& chooser() {
    static PesquisaChooser current = &TBtnPesquisa::DialogChooser;
    return current;
}

} // namespace

TBtnPesquisa::TBtnPesquisa(QWidget* parent, const QString& name)
    : QToolButton(parent), TControl(static_cast<QWidget&>(*this)) {
    SetName(name);
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
    setText(u"..."_s);
    connect(this, &QToolButton::clicked, this, [this] { Dispatch([this] { Pesquisa(); }); });
}

bool TBtnPesquisa::Pesquisa() {
    if (!source_ || !source_->DataSet())
        throw std::logic_error("lookup button without a data set");
    bool proceed = true;
    if (OnBeforePesq)
        OnBeforePesq(this, proceed);
    if (!proceed)
        return false;

    TClientDataSet& dataSet = *source_->DataSet();
    if (query_ && &dataSet == query_ && !dataSet.Active())
        query_->Open();
    if (!dataSet.Active() || dataSet.IsEmpty()) {
        Application().dialogs().messageDlg(EmptyError, TMsgDlgType::mtError, TMsgDlgBtn::mbOK, 0);
        return false;
    }

    const std::optional<int> row = chooser()(PesquisaRequest{window(), Title, dataSet});
    if (!row)
        return false;
    dataSet.SetRecNo(*row + 1);
    if (Associate && Associate->isVisible() && Associate->isEnabled())
        Associate->setFocus();
    if (OnAfterPesq)
        OnAfterPesq(this);
    return true;
}

void TBtnPesquisa::SetDataSource(TDataSource& source, TADOIBQuery& query) {
    if (source.DataSet() != &query)
        throw std::invalid_argument("the lookup's data source is not over its query");
    source_ = &source;
    query_ = &query;
}

void TBtnPesquisa::SetDataSource(TDataSource& source) {
    source_ = &source;
    query_ = nullptr;
}

PesquisaChooser TBtnPesquisa::SetChooser(PesquisaChooser next) {
    PesquisaChooser previous = std::move(chooser());
    chooser() = next ? std::move(next) : PesquisaChooser(&TBtnPesquisa::DialogChooser);
    return previous;
}

std::optional<int> TBtnPesquisa::DialogChooser(const PesquisaRequest& request) {
    TPesquisaDialog dialog(request.parent, request.title, request.dataSet);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.pickedRow();
}

} // namespace host
