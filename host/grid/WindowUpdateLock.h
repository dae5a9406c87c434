#pragma once

#include <QPointer>
#include <QWidget>

namespace host {

// Freezes the painting of a window for as long as it lives (the platform's LockWindowUpdate), and
// unfreezes it also when the work inside fails. Locks of one widget nest: painting comes back with
// the last one, to whatever it was before the first. A widget destroyed meanwhile is left alone.
class LockWindowUpdate {
public:
    explicit LockWindowUpdate(QWidget& widget);
    ~LockWindowUpdate();
    LockWindowUpdate(const LockWindowUpdate&) = delete;
    LockWindowUpdate& operator=(const LockWindowUpdate&) = delete;

    static bool Locked(const QWidget& widget);

private:
    QPointer<QWidget> widget_;
};

} // namespace host
