#include "host/app/TPanel.h"

#include <QPainter>

namespace host {

TPanel::TPanel(QWidget* parent, const QString& name)
    : QFrame(parent), TControl(static_cast<QWidget&>(*this)) {
    SetName(name);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
}

void TPanel::SetCaption(const QString& caption) {
    caption_ = caption;
    update();
}

void TPanel::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    AlignChildren(*this);
}

void TPanel::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (caption_.isEmpty())
        return;
    QPainter painter(this);
    painter.drawText(contentsRect(), Qt::AlignCenter, caption_);
}

} // namespace host
