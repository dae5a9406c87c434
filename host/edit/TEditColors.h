#pragma once

#include <QColor>

namespace host {

// The colours of the entry fields beside the grid's (host/grid/TColors.h): the face of a field that
// only shows a value, and the blue of a valid date.
inline QColor clBtnFace() {
    return QColor(240, 240, 240);
}
inline QColor clBlue() {
    return QColor(0, 0, 255);
}

} // namespace host
