#pragma once

#include "host/app/TControl.h"

#include <QWidget>

namespace host {

// A bar the user drags to share a container's height between the control docked at the bottom
// before it and the client-aligned control above it. It resizes the docked control only; the
// container's alignment gives the rest to the client.
class TSplitter : public QWidget, public TControl {
    Q_OBJECT
public:
    TSplitter(QWidget* parent, const QString& name, int thickness = 3);

    // The control whose height the bar changes: the bottom-docked sibling created just before it.
    QWidget* Resized() const;
    // Heights the resized control is kept within while dragging.
    int MinSize = 30;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int pressY_ = -1;
    int startHeight_ = 0;
};

} // namespace host
