#include "host/app/TScreen.h"

#include <QCursor>
#include <QGuiApplication>

namespace host {

void TScreen::SetCursor(TCursor cursor) {
    if (cursor == cursor_)
        return;
    cursor_ = cursor;
    if (cursor == TCursor::crHourGlass)
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    else
        QGuiApplication::restoreOverrideCursor();
}

TScreen& Screen() {
    static TScreen screen;
    return screen;
}

} // namespace host
