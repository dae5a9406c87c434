#include "host/app/TForm.h"

#include "host/app/Dispatch.h"
#include "host/app/TAlign.h"
#include "host/app/TApplication.h"
#include "host/core/Refusal.h"
#include "host/core/ScopeGuard.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>

using namespace Qt::StringLiterals;

namespace host {

TForm::TForm(QWidget* owner) : QWidget(owner, Qt::Window) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    resize(clientSize_);
    applyFrame();
}

TForm::~TForm() {
    if (modalLoop_)
        modalLoop_->quit();
    // A form destroyed on its own must not leave an empty frame in the main form's area.
    if (frame_)
        frame_->deleteLater();
}

void TForm::SetCaption(const QString& caption) {
    setWindowTitle(caption);
    if (frame_)
        frame_->setWindowTitle(caption);
}

void TForm::SetClientSize(int width, int height) {
    clientSize_ = QSize(width, height);
    resize(clientSize_);
    if (frame_)
        frame_->adjustSize();
}

int TForm::Left() const {
    return FormWindow()->pos().x();
}

int TForm::Top() const {
    return FormWindow()->pos().y();
}

void TForm::SetLeft(int left) {
    FormWindow()->move(left, Top());
}

void TForm::SetTop(int top) {
    FormWindow()->move(Left(), top);
}

void TForm::SetBorderStyle(TBorderStyle style) {
    borderStyle_ = style;
    applyFrame();
}

void TForm::SetBorderIcons(TBorderIcons icons) {
    borderIcons_ = icons;
    applyFrame();
}

void TForm::SetFormStyle(TFormStyle style) {
    if (style == formStyle_)
        return;
    if (Modal())
        throw Refusal(u"O estilo de uma janela modal aberta não pode ser mudado."_s);
    const QPoint position = FormWindow()->pos();
    const bool wasVisible = Visible();
    formStyle_ = style;
    if (style == TFormStyle::fsMDIChild) {
        auto* frame = new QMdiSubWindow();
        frame->setAttribute(Qt::WA_DeleteOnClose, false);
        frame->setWidget(this);
        frame->setWindowTitle(windowTitle());
        frame_ = frame;
        Application().addMdiChild(frame);
        QWidget::setVisible(true);
        frame->hide();
    } else {
        QPointer<QMdiSubWindow> frame = qobject_cast<QMdiSubWindow*>(frame_.data());
        frame_ = nullptr;
        setParent(Application().MainForm(), Qt::Window);
        if (frame) {
            Application().MdiArea()->removeSubWindow(frame);
            frame->deleteLater();
        }
    }
    applyFrame();
    FormWindow()->move(position);
    if (wasVisible)
        Show();
}

Qt::WindowFlags TForm::frameFlags() const {
    Qt::WindowFlags flags;
    if (borderStyle_ == TBorderStyle::bsNone)
        return flags | Qt::FramelessWindowHint;
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (borderIcons_.testFlag(TBorderIcon::biSystemMenu))
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    // A dialog frame never offers minimise or maximise.
    if (borderStyle_ != TBorderStyle::bsDialog) {
        if (borderIcons_.testFlag(TBorderIcon::biMinimize))
            flags |= Qt::WindowMinimizeButtonHint;
        if (borderIcons_.testFlag(TBorderIcon::biMaximize))
            flags |= Qt::WindowMaximizeButtonHint;
    }
    if (borderStyle_ == TBorderStyle::bsSingle || borderStyle_ == TBorderStyle::bsDialog)
        flags |= Qt::MSWindowsFixedSizeDialogHint;
    return flags;
}

void TForm::applyFrame() {
    const Qt::WindowFlags flags = frameFlags();
    if (frame_) {
        const bool shown = !frame_->isHidden();
        frame_->setWindowFlags(Qt::SubWindow | flags);
        if (shown)
            frame_->show();
        return;
    }
    const bool shown = !isHidden();
    const Qt::WindowType type = borderStyle_ == TBorderStyle::bsDialog ? Qt::Dialog : Qt::Window;
    setWindowFlags(type | flags);
    if (shown)
        QWidget::setVisible(true);
}

TWindowState TForm::WindowState() const {
    const Qt::WindowStates state = FormWindow()->windowState();
    if (state.testFlag(Qt::WindowMinimized))
        return TWindowState::wsMinimized;
    if (state.testFlag(Qt::WindowMaximized))
        return TWindowState::wsMaximized;
    return TWindowState::wsNormal;
}

void TForm::SetWindowState(TWindowState state) {
    QWidget* window = FormWindow();
    Qt::WindowStates flags = window->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (state == TWindowState::wsMinimized)
        flags |= Qt::WindowMinimized;
    else if (state == TWindowState::wsMaximized)
        flags |= Qt::WindowMaximized;
    window->setWindowState(flags);
}

QWidget* TForm::FormWindow() const {
    if (frame_)
        return frame_;
    return const_cast<TForm*>(this);
}

bool TForm::Visible() const {
    return !FormWindow()->isHidden();
}

void TForm::SetVisible(bool visible) {
    if (visible) {
        Show();
        return;
    }
    FormWindow()->hide();
}

void TForm::Show() {
    if (frame_) {
        QWidget::setVisible(true);
        frame_->show();
        Application().MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(frame_.data()));
        return;
    }
    QWidget::setVisible(true);
    // The offscreen platform has no stacking order to change.
    if (!Headless())
        raise();
    activateWindow();
}

TModalResult TForm::ShowModal() {
    if (frame_)
        throw Refusal(u"Uma janela filha não pode ser exibida como modal."_s);
    if (Visible() || Modal())
        throw Refusal(u"Uma janela já visível não pode ser exibida como modal."_s);
    QEventLoop loop;
    QPointer<TForm> self(this);
    modalLoop_ = &loop;
    modalResult_ = mrNone;
    ScopeGuard leave([&] {
        if (self) {
            modalLoop_ = nullptr;
            setWindowModality(Qt::NonModal);
        }
    });
    setWindowModality(Qt::ApplicationModal);
    Show();
    loop.exec(QEventLoop::DialogExec);
    return self ? modalResult_ : mrCancel;
}

void TForm::SetModalResult(TModalResult result) {
    modalResult_ = result;
    if (Modal() && result != mrNone)
        closeModal();
}

void TForm::closeModal() {
    TCloseAction action = TCloseAction::caHide;
    {
        // A failing OnClose keeps the dialog open, as a refused close does.
        ScopeGuard keepOpen([this] { modalResult_ = mrNone; });
        if (OnClose)
            OnClose(action);
        keepOpen.dismiss();
    }
    if (action == TCloseAction::caNone) {
        modalResult_ = mrNone;
        return;
    }
    QEventLoop* loop = modalLoop_;
    finishClose(action == TCloseAction::caMinimize ? TCloseAction::caHide : action);
    loop->quit();
}

void TForm::Close() {
    if (Modal()) {
        SetModalResult(mrCancel);
        return;
    }
    TCloseAction action = TCloseAction::caHide;
    if (frame_)
        action =
            borderIcons_.testFlag(TBorderIcon::biMinimize) ? TCloseAction::caMinimize : TCloseAction::caNone;
    if (OnClose)
        OnClose(action);
    finishClose(action);
}

void TForm::finishClose(TCloseAction action) {
    QWidget* window = FormWindow();
    switch (action) {
    case TCloseAction::caNone:
        return;
    case TCloseAction::caHide:
        window->hide();
        return;
    case TCloseAction::caMinimize:
        SetWindowState(TWindowState::wsMinimized);
        return;
    case TCloseAction::caFree:
        released_ = true;
        window->hide();
        window->deleteLater();
        return;
    }
}

void TForm::PostClose() {
    QMetaObject::invokeMethod(
        this, [this] { Dispatch([this] { Close(); }); }, Qt::QueuedConnection);
}

void TForm::closeEvent(QCloseEvent* event) {
    // The window system's close goes through the same rules as Close(); the form itself decides
    // whether its window hides, minimises or goes.
    event->ignore();
    if (!released_)
        Dispatch([this] { Close(); });
}

void TForm::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && !frame_ && isActiveWindow())
        requestActivation();
}

void TForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    AlignChildren(*this);
}

void TForm::requestActivation() {
    if (activationPending_)
        return;
    activationPending_ = true;
    // Activation reaches the form on its own turn of the event loop, never inside the call that
    // showed it, so a launch returns before the screen starts working.
    QMetaObject::invokeMethod(
        this,
        [this] {
            activationPending_ = false;
            deliverActivation();
        },
        Qt::QueuedConnection);
}

void TForm::deliverActivation() {
    if (activating_ || released_ || !Visible())
        return;
    activating_ = true;
    ScopeGuard done([this] { activating_ = false; });
    QPointer<TForm> self(this);
    const bool completed = !OnActivate || Dispatch(OnActivate);
    if (self)
        emit Application().formActivated(this, completed);
}

} // namespace host
