#include "host/grid/WindowUpdateLock.h"

#include <QVariant>

namespace host {

namespace {

// Kept on the widget itself, so that locks taken by different callers see one count.
constexpr const char* kDepth = "_host_update_lock_depth";
constexpr const char* kWasEnabled = "_host_update_lock_was_enabled";

int depthOf(const QWidget& widget) {
    return widget.property(kDepth).toInt();
}

} // namespace

LockWindowUpdate::LockWindowUpdate(QWidget& widget) : widget_(&widget) {
    const int depth = depthOf(widget);
    if (depth == 0) {
        widget.setProperty(kWasEnabled, widget.updatesEnabled());
        widget.setUpdatesEnabled(false);
    }
    widget.setProperty(kDepth, depth + 1);
}

LockWindowUpdate::~LockWindowUpdate() {
    if (!widget_)
        return;
    const int depth = depthOf(*widget_) - 1;
    widget_->setProperty(kDepth, depth > 0 ? QVariant(depth) : QVariant());
    if (depth == 0) {
        widget_->setUpdatesEnabled(widget_->property(kWasEnabled).toBool());
        widget_->setProperty(kWasEnabled, QVariant());
    }
}

bool LockWindowUpdate::Locked(const QWidget& widget) {
    return depthOf(widget) > 0;
}

} // namespace host
