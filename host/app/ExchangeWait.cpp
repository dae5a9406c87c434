#include "host/app/ExchangeWait.h"

#include "host/app/BusyIndicator.h"
#include "host/context/OperatorContext.h"
#include "host/core/ScopeGuard.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QThread>
#include <QTimer>
#include <QWindow>

#include <atomic>
#include <exception>
#include <thread>

namespace host {

namespace {

bool isUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}

// Holds back the user's input from every window but the busy indicator while a call is waited for;
// Esc anywhere means Cancelar once it is offered.
class InputBlocker : public QObject {
public:
    explicit InputBlocker(BusyIndicator& indicator) : indicator_(indicator) {
        qApp->installEventFilter(this);
    }
    ~InputBlocker() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!isUserInput(event->type()) || ofIndicator(watched))
            return false;
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
            indicator_.pressCancel();
        // An accepted override keeps the key from becoming a shortcut; an ignored close keeps the
        // window open.
        if (event->type() == QEvent::ShortcutOverride)
            event->accept();
        else
            event->ignore();
        return true;
    }

private:
    bool ofIndicator(QObject* watched) const {
        if (auto* widget = qobject_cast<QWidget*>(watched))
            return widget->window() == &indicator_;
        if (auto* window = qobject_cast<QWindow*>(watched))
            return window == indicator_.windowHandle();
        return false;
    }
    BusyIndicator& indicator_;
};

} // namespace

void WaitForExchange(const std::function<void()>& exchange, const std::function<void()>& cancel) {
    BusyIndicator* indicator = ExistingBusyIndicator();
    if (!qApp || QThread::currentThread() != qApp->thread() || !indicator || indicator->depth() == 0) {
        exchange();
        return;
    }
    QEventLoop loop;
    std::atomic<bool> done{false};
    std::exception_ptr failure;
    InputBlocker blocker(*indicator);
    QTimer offer;
    offer.setSingleShot(true);
    QObject::connect(&offer, &QTimer::timeout, &loop, [&] {
        indicator->offerCancel([&] {
            if (!done)
                cancel();
        });
    });
    ScopeGuard withdraw([indicator] { indicator->withdrawCancel(); });

    std::thread worker([&] {
        try {
            exchange();
        } catch (...) {
            failure = std::current_exception();
        }
        done = true;
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    offer.start(CancelAfterMs());
    loop.exec();
    worker.join();
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace host
