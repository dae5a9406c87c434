#include "host/app/TLabel.h"

#include <QMouseEvent>

namespace host {

TLabel::TLabel(QWidget* parent, const QString& name, const QString& caption)
    : QLabel(caption, parent), TControl(static_cast<QWidget&>(*this)) {
    SetName(name);
}

void TLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        clickedByUser();
}

} // namespace host
