#include "host/app/SetChildEnabled.h"

#include <QWidget>

namespace host {

void SetChildEnabled(QWidget& container, bool enabled) {
    for (QWidget* child : container.findChildren<QWidget*>())
        if (!child->isWindow())
            child->setEnabled(enabled);
}

} // namespace host
