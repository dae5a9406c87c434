#include "host/app/FocusRouter.h"

#include "host/app/Dispatch.h"
#include "host/app/TControl.h"
#include "host/app/TForm.h"
#include "host/core/ScopeGuard.h"

#include <QApplication>
#include <QPointer>

namespace host {

namespace {

TForm* formOf(QWidget* widget) {
    for (QWidget* w = widget; w; w = w->parentWidget())
        if (auto* form = qobject_cast<TForm*>(w))
            return form;
    return nullptr;
}

// The controls from the widget up to its form, innermost first.
QList<QWidget*> controlChain(QWidget* widget, const TForm* form) {
    QList<QWidget*> chain;
    for (QWidget* w = widget; w && w != form; w = w->parentWidget())
        if (TControl::of(w))
            chain.append(w);
    return chain;
}

} // namespace

FocusRouter::FocusRouter() {
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { focusChanged(now); });
}

void FocusRouter::focusChanged(QWidget* now) {
    TForm* form = now ? formOf(now) : nullptr;
    if (!form)
        return;
    QPointer<QWidget> previous = form->activeControl_;
    form->activeControl_ = now;
    if (routing_ || quiet_ > 0 || previous == now)
        return;
    routing_ = true;
    ScopeGuard done([this] { routing_ = false; });

    const QList<QWidget*> from = controlChain(previous, form);
    const QList<QWidget*> to = controlChain(now, form);
    QList<QPointer<QWidget>> exits, entries;
    for (QWidget* w : from)
        if (!to.contains(w))
            exits.append(w);
    for (QWidget* w : to)
        if (!from.contains(w))
            entries.prepend(w);

    QPointer<TForm> alive(form);
    QPointer<QWidget> target(now);
    const auto raise = [&](const QPointer<QWidget>& w, bool entering) {
        if (!w)
            return true;
        TControl* control = TControl::of(w);
        const std::function<void()>& handler = entering ? control->OnEnter : control->OnExit;
        if (handler && !Dispatch(handler))
            return false;
        return alive && alive->activeControl_ == target;
    };
    for (const QPointer<QWidget>& w : exits)
        if (!raise(w, false))
            return;
    for (const QPointer<QWidget>& w : entries)
        if (!raise(w, true))
            return;
}

} // namespace host
