#include "host/app/TGroupBox.h"

namespace host {

TGroupBox::TGroupBox(QWidget* parent, const QString& name, const QString& caption)
    : QGroupBox(caption, parent), TControl(static_cast<QWidget&>(*this)) {
    SetName(name);
}

void TGroupBox::resizeEvent(QResizeEvent* event) {
    QGroupBox::resizeEvent(event);
    AlignChildren(*this);
}

} // namespace host
