#include "host/app/TSplitter.h"

#include "host/app/TAlign.h"

#include <QMouseEvent>

#include <algorithm>

namespace host {

TSplitter::TSplitter(QWidget* parent, const QString& name, int thickness)
    : QWidget(parent), TControl(static_cast<QWidget&>(*this)) {
    SetName(name);
    resize(width(), thickness);
    SetAlign(TAlign::alBottom);
    setCursor(Qt::SplitVCursor);
}

QWidget* TSplitter::Resized() const {
    QWidget* found = nullptr;
    if (!parentWidget())
        return nullptr;
    for (QObject* child : parentWidget()->children()) {
        if (child == this)
            break;
        auto* widget = qobject_cast<QWidget*>(child);
        const TControl* control = widget ? TControl::of(widget) : nullptr;
        if (control && control->Align() == TAlign::alBottom)
            found = widget;
    }
    return found;
}

void TSplitter::mousePressEvent(QMouseEvent* event) {
    QWidget* target = Resized();
    if (event->button() != Qt::LeftButton || !target)
        return QWidget::mousePressEvent(event);
    pressY_ = event->globalPosition().toPoint().y();
    startHeight_ = target->height();
}

void TSplitter::mouseMoveEvent(QMouseEvent* event) {
    QWidget* target = Resized();
    if (pressY_ < 0 || !target || !parentWidget())
        return QWidget::mouseMoveEvent(event);
    // Dragging up makes the bottom control taller; the control above keeps at least MinSize.
    const int wanted = startHeight_ + pressY_ - event->globalPosition().toPoint().y();
    const int most = std::max(MinSize, parentWidget()->contentsRect().height() - height() - MinSize);
    target->resize(target->width(), std::clamp(wanted, MinSize, most));
    AlignChildren(*parentWidget());
}

void TSplitter::mouseReleaseEvent(QMouseEvent* event) {
    pressY_ = -1;
    QWidget::mouseReleaseEvent(event);
}

} // namespace host
