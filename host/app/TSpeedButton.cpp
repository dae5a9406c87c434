#include "host/app/TSpeedButton.h"

namespace host {

TSpeedButton::TSpeedButton(QWidget* parent, const QString& name, const QString& caption)
    : QToolButton(parent), TControl(static_cast<QWidget&>(*this)) {
    SetName(name);
    setText(caption);
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
    setToolButtonStyle(Qt::ToolButtonTextOnly);
    connect(this, &QToolButton::clicked, this, [this] { clickedByUser(); });
}

} // namespace host
