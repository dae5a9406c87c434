#pragma once

#include <QColor>

namespace host {

// The system colours the screens name, fixed so that drawing and the entry fields do not depend on
// the desktop theme.
inline QColor clInfoBk() {
    return QColor(255, 255, 225);
}
inline QColor clWindow() {
    return QColor(255, 255, 255);
}
inline QColor clWindowText() {
    return QColor(0, 0, 0);
}
inline QColor clHighlight() {
    return QColor(0, 0, 128);
}
inline QColor clHighlightText() {
    return QColor(255, 255, 255);
}
inline QColor clBtnFace() {
    return QColor(240, 240, 240);
}
inline QColor clBlue() {
    return QColor(0, 0, 255);
}
inline QColor clOlive() {
    return QColor(128, 128, 0);
}

} // namespace host
