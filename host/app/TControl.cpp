#include "host/app/TControl.h"

#include "host/app/Dispatch.h"

#include <QWidget>

namespace host {

TControl* TControl::of(QWidget* widget) {
    return dynamic_cast<TControl*>(widget);
}

QString TControl::Name() const {
    return self_.objectName();
}

void TControl::SetName(const QString& name) {
    self_.setObjectName(name);
}

QWidget* TControl::Parent() const {
    return self_.parentWidget();
}

bool TControl::Enabled() const {
    return !self_.testAttribute(Qt::WA_ForceDisabled);
}

void TControl::SetEnabled(bool enabled) {
    self_.setEnabled(enabled);
}

bool TControl::Visible() const {
    return !self_.isHidden();
}

void TControl::SetVisible(bool visible) {
    self_.setVisible(visible);
    realignParent();
}

bool TControl::Usable() const {
    return self_.isEnabled() && self_.isVisible();
}

void TControl::SetAlign(TAlign align) {
    align_ = align;
    realignParent();
}

void TControl::SetBounds(int left, int top, int width, int height) {
    self_.setGeometry(left, top, width, height);
    realignParent();
}

void TControl::Click() {
    if (OnClick)
        OnClick();
}

void TControl::clickedByUser() {
    if (OnClick)
        Dispatch(OnClick);
}

void TControl::realignParent() {
    if (QWidget* parent = self_.parentWidget())
        AlignChildren(*parent);
}

} // namespace host
