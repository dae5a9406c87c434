#include "host/app/TPageControl.h"

#include "host/app/Dispatch.h"
#include "host/app/FocusRouter.h"
#include "host/app/TPageTabBar.h"
#include "host/app/TTabSheet.h"
#include "host/core/Refusal.h"
#include "host/core/ScopeGuard.h"

#include <QKeyEvent>

using namespace Qt::StringLiterals;

namespace host {

TPageControl::TPageControl(QWidget* parent, const QString& name)
    : QTabWidget(parent), TControl(static_cast<QWidget&>(*this)),
      bar_(new TPageTabBar(this, [this](int index) { RequestPage(index); })) {
    SetName(name);
    setTabBar(bar_);
    connect(this, &QTabWidget::currentChanged, this, [this](int index) { currentMoved(index); });
}

TTabSheet* TPageControl::ActivePage() const {
    return qobject_cast<TTabSheet*>(currentWidget());
}

void TPageControl::SetActivePage(TTabSheet* sheet) {
    if (!sheet || &sheet->PageControl() != this)
        throw Refusal(u"A página informada não pertence a este controle de páginas."_s);
    if (!sheet->Shown())
        throw Refusal(u"A página \"%1\" está oculta e não pode ser exibida."_s.arg(sheet->Caption()));
    if (sheet == ActivePage())
        return;
    {
        quiet_ = true;
        ScopeGuard loud([this] { quiet_ = false; });
        setCurrentWidget(sheet);
    }
    if (sheet->OnShow)
        sheet->OnShow();
}

TTabSheet* TPageControl::GetPage(int index) const {
    if (index < 0 || index >= count())
        throw Refusal(u"Página %1 inexistente: o controle tem %2 páginas."_s.arg(index).arg(count()));
    return qobject_cast<TTabSheet*>(QTabWidget::widget(index));
}

void TPageControl::RequestPage(int index) {
    if (index == currentIndex() || !GetPage(index)->Shown())
        return;
    bool allow = true;
    if (OnChanging && (!Dispatch([&] { OnChanging(*this, allow); }) || !allow))
        return;
    setCurrentIndex(index);
    if (OnChange)
        Dispatch([this] { OnChange(*this); });
}

int TPageControl::NextPageIndex(int from, int step, bool wrap) const {
    return bar_->NextReachable(from, step, wrap);
}

void TPageControl::keyPressEvent(QKeyEvent* event) {
    const bool ctrl = (event->modifiers() & ~Qt::KeypadModifier & ~Qt::ShiftModifier) == Qt::ControlModifier;
    int step = 0;
    if (ctrl && (event->key() == Qt::Key_Tab || event->key() == Qt::Key_PageDown))
        step = (event->modifiers() & Qt::ShiftModifier) ? -1 : 1;
    else if (ctrl && (event->key() == Qt::Key_Backtab || event->key() == Qt::Key_PageUp))
        step = -1;
    if (step == 0) {
        event->ignore();
        return;
    }
    event->accept();
    if (const int index = NextPageIndex(currentIndex(), step, true); index >= 0)
        RequestPage(index);
}

void TPageControl::adopt(TTabSheet& sheet) {
    const FocusRouter::Quiet quietFocus;
    quiet_ = true;
    ScopeGuard loud([this] { quiet_ = false; });
    addTab(&sheet, sheet.Caption());
}

void TPageControl::sheetChanged(TTabSheet& sheet) {
    // Hiding the tab in front moves the current page as a side effect: that page was not chosen by
    // anyone, so it is not entered.
    const FocusRouter::Quiet quietFocus;
    quiet_ = true;
    ScopeGuard loud([this] { quiet_ = false; });
    setTabVisible(indexOf(&sheet), sheet.Shown());
}

void TPageControl::currentMoved(int index) {
    if (quiet_ || index < 0)
        return;
    TTabSheet* sheet = GetPage(index);
    if (sheet && sheet->OnShow)
        Dispatch(sheet->OnShow);
}

} // namespace host
