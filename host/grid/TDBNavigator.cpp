#include "host/grid/TDBNavigator.h"

#include "host/app/Dispatch.h"
#include "host/data/TClientDataSet.h"
#include "host/data/TDataSource.h"

#include <QHBoxLayout>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace host {

namespace {

struct ButtonRow {
    TNavigateBtn button;
    const char16_t* glyph;
    const char16_t* hint;
    void (TClientDataSet::*move)();
};

// Left to right, as the buttons stand.
const ButtonRow kButtons[] = {
    {TNavigateBtn::nbFirst, u"|\u25C0", u"Primeiro registro", &TClientDataSet::First},
    {TNavigateBtn::nbPrior, u"\u25C0", u"Registro anterior", &TClientDataSet::Prior},
    {TNavigateBtn::nbNext, u"\u25B6", u"Próximo registro", &TClientDataSet::Next},
    {TNavigateBtn::nbLast, u"\u25B6|", u"Último registro", &TClientDataSet::Last},
};

int slotOf(TNavigateBtn button) {
    for (int i = 0; i < 4; ++i) {
        if (kButtons[i].button == button)
            return i;
    }
    return 0;
}

} // namespace

TDBNavigator::TDBNavigator(QWidget* parent, const QString& name)
    : QWidget(parent), TControl(static_cast<QWidget&>(*this)) {
    SetName(name);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int i = 0; i < 4; ++i) {
        auto* button = new QToolButton(this);
        button->setText(QString::fromUtf16(kButtons[i].glyph));
        button->setToolTip(QString::fromUtf16(kButtons[i].hint));
        button->setAccessibleName(QString::fromUtf16(kButtons[i].hint));
        button->setFocusPolicy(Qt::NoFocus);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        const TNavigateBtn which = kButtons[i].button;
        connect(button, &QToolButton::clicked, this, [this, which] { Dispatch([&] { BtnClick(which); }); });
        layout->addWidget(button);
        buttons_[i] = button;
    }
    refresh();
}

void TDBNavigator::SetDataSource(TDataSource* source) {
    for (auto& connection : connections_)
        disconnect(connection);
    source_ = source;
    if (source) {
        connections_[0] = connect(source, &TDataSource::dataReset, this, &TDBNavigator::refresh);
        connections_[1] = connect(source, &TDataSource::currentRowChanged, this, &TDBNavigator::refresh);
    }
    refresh();
}

void TDBNavigator::SetVisibleButtons(TNavigateButtons buttons) {
    visible_ = buttons;
    refresh();
}

void TDBNavigator::SetFlat(bool flat) {
    flat_ = flat;
    for (QToolButton* button : buttons_)
        button->setAutoRaise(flat);
}

void TDBNavigator::BtnClick(TNavigateBtn button) {
    TClientDataSet* set = source_ ? source_->DataSet() : nullptr;
    if (!set || !set->Active())
        return;
    (set->*kButtons[slotOf(button)].move)();
}

QToolButton* TDBNavigator::Button(TNavigateBtn button) const {
    return buttons_[slotOf(button)];
}

bool TDBNavigator::ButtonEnabled(TNavigateBtn button) const {
    return Button(button)->isEnabled();
}

void TDBNavigator::refresh() {
    const TClientDataSet* set = source_ ? source_->DataSet() : nullptr;
    const int rows = set && set->Active() ? set->RecordCount() : 0;
    const int row = source_ ? source_->currentRow() : -1;
    const bool back = rows > 0 && row > 0;
    const bool forward = rows > 0 && row < rows - 1;
    for (int i = 0; i < 4; ++i) {
        const TNavigateBtn which = kButtons[i].button;
        const bool goesBack = which == TNavigateBtn::nbFirst || which == TNavigateBtn::nbPrior;
        buttons_[i]->setVisible(visible_.testFlag(which));
        buttons_[i]->setEnabled(goesBack ? back : forward);
    }
}

} // namespace host
