#pragma once

#include "host/app/Dialogs.h"

#include <QFlags>
#include <QPointer>
#include <QWidget>

#include <functional>

class QEventLoop;
class QMdiSubWindow;

namespace host {

enum class TBorderStyle { bsNone, bsSingle, bsDialog, bsSizeable };
enum class TBorderIcon { biSystemMenu = 0x1, biMinimize = 0x2, biMaximize = 0x4 };
Q_DECLARE_FLAGS(TBorderIcons, TBorderIcon)
enum class TFormStyle { fsNormal, fsMDIChild };
enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
// What becomes of a window once it has closed, decided by its OnClose.
enum class TCloseAction { caNone, caHide, caFree, caMinimize };

// A form: a window of the host, created through the application object and owned by it. Users hold
// it in a QPointer, since a form freed on close disappears on the next turn of the event loop. The
// form widget is the client area; its frame is a window of its own or, as a multiple-document child,
// a frame inside the main form.
class TForm : public QWidget {
    Q_OBJECT
public:
    explicit TForm(QWidget* owner);
    ~TForm() override;

    QString Caption() const { return windowTitle(); }
    void SetCaption(const QString& caption);

    int ClientWidth() const { return width(); }
    int ClientHeight() const { return height(); }
    void SetClientSize(int width, int height);
    int Left() const;
    int Top() const;
    void SetLeft(int left);
    void SetTop(int top);

    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle style);
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons icons);
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle style);
    TWindowState WindowState() const;
    void SetWindowState(TWindowState state);

    // The form's own visibility, whatever its owner's.
    bool Visible() const;
    void SetVisible(bool visible);
    void Show();
    void Hide() { SetVisible(false); }
    // Shows the form as an application-modal window and returns once it has closed. The form may be
    // gone by then (close action free): the caller must not touch it afterwards.
    TModalResult ShowModal();
    bool Modal() const { return modalLoop_ != nullptr; }
    TModalResult ModalResult() const { return modalResult_; }
    // A modal form closes when it is given a result.
    void SetModalResult(TModalResult result);
    // Closes now: OnClose decides the close action.
    void Close();
    // Queues a close request to the form's own window; it runs after the current event has returned
    // and is dropped when the form is gone by then.
    void PostClose();
    // True once the form has been closed with the action free.
    bool Released() const { return released_; }

    // The window the form lives in: its multiple-document frame, or the form itself.
    QWidget* FormWindow() const;
    // The widget inside the form that has, or last had, the focus.
    QWidget* ActiveControl() const { return activeControl_; }

    // The form's keys as the host's help lists them: the keys, then what they do.
    struct KeyHint {
        QString keys;
        QString action;
    };
    QList<KeyHint> KeyHints;

    std::function<void()> OnCreate;
    std::function<void()> OnActivate;
    std::function<void(TCloseAction&)> OnClose;

    QSize sizeHint() const override { return clientSize_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class TApplication;
    friend class FocusRouter;
    void applyFrame();
    Qt::WindowFlags frameFlags() const;
    void closeModal();
    void finishClose(TCloseAction action);
    void requestActivation();
    void deliverActivation();

    TBorderStyle borderStyle_ = TBorderStyle::bsSizeable;
    TBorderIcons borderIcons_ =
        TBorderIcons(TBorderIcon::biSystemMenu) | TBorderIcon::biMinimize | TBorderIcon::biMaximize;
    TFormStyle formStyle_ = TFormStyle::fsNormal;
    QSize clientSize_{320, 240};
    // A plain widget pointer: while the frame destroys its children it is no frame any more.
    QPointer<QWidget> frame_;
    QPointer<QWidget> activeControl_;
    QEventLoop* modalLoop_ = nullptr;
    TModalResult modalResult_ = mrNone;
    bool activationPending_ = false;
    bool activating_ = false;
    bool released_ = false;
};

} // namespace host

Q_DECLARE_OPERATORS_FOR_FLAGS(host::TBorderIcons)
