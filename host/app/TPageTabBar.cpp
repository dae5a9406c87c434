#include "host/app/TPageTabBar.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

namespace host {

TPageTabBar::TPageTabBar(QWidget* parent, std::function<void(int)> request)
    : QTabBar(parent), request_(std::move(request)) {}

bool TPageTabBar::reachable(int index) const {
    return index >= 0 && index < count() && isTabVisible(index) && isTabEnabled(index);
}

int TPageTabBar::NextReachable(int from, int step, bool wrap) const {
    const int n = count();
    for (int i = 1; i <= n; ++i) {
        int index = from + step * i;
        if (wrap)
            index = ((index % n) + n) % n;
        else if (index < 0 || index >= n)
            return -1;
        if (index != from && reachable(index))
            return index;
    }
    return -1;
}

void TPageTabBar::mousePressEvent(QMouseEvent* event) {
    const int index = tabAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index != currentIndex() && reachable(index)) {
        event->accept();
        request_(index);
        return;
    }
    QTabBar::mousePressEvent(event);
}

void TPageTabBar::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Left && event->key() != Qt::Key_Right) {
        event->ignore();
        return;
    }
    const bool back = event->key() == (isRightToLeft() ? Qt::Key_Right : Qt::Key_Left);
    event->accept();
    if (const int index = NextReachable(currentIndex(), back ? -1 : 1, false); index >= 0)
        request_(index);
}

void TPageTabBar::wheelEvent(QWheelEvent* event) {
    const QPoint delta = event->angleDelta();
    const int amount = delta.y() != 0 ? delta.y() : delta.x();
    event->accept();
    if (amount == 0)
        return;
    if (const int index = NextReachable(currentIndex(), amount > 0 ? -1 : 1, false); index >= 0)
        request_(index);
}

} // namespace host
