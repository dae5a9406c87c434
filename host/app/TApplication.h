#pragma once

#include "host/app/Dialogs.h"

#include <QMenu>
#include <QObject>
#include <QPointer>

#include <memory>

class QMainWindow;
class QMdiArea;
class QMdiSubWindow;

namespace host {

class TForm;
class FocusRouter;

// The host application: one per process, inside the host library, so the package and the shell share
// it. It owns the main form (a main window around a multiple-document area), every form created
// through it, the dialog seam and the focus router. Created on first use, after the QApplication;
// torn down while the QApplication still exists.
class TApplication : public QObject {
    Q_OBJECT
public:
    static TApplication& instance();
    ~TApplication() override;

    QMainWindow* MainForm() const;
    QMdiArea* MdiArea() const;
    // The main form's help menu ("Ajuda"), last in its menu bar; the shell puts its menus before it.
    QMenu* HelpMenu() const { return helpMenu_; }
    // What the help's "Atalhos do teclado" shows: the keys of every live form that lists any.
    QString KeyHintsText() const;

    // Creates a form owned by the host. The form's OnCreate runs during creation; when it fails the
    // form is destroyed again and the failure reaches the caller.
    template <typename Form> Form* CreateForm() {
        std::unique_ptr<Form> form(new Form(formOwner()));
        runCreate(*form);
        return form.release();
    }

    // Every live form.
    QList<TForm*> Forms() const;

    Dialogs& dialogs() const { return *dialogs_; }
    // Replaces the dialog seam; answers the previous one so a test can put it back.
    std::unique_ptr<Dialogs> setDialogs(std::unique_ptr<Dialogs> dialogs);

    // Destroys every form, the busy indicator and the main window. Runs by itself before the
    // QApplication goes; the shell may call it earlier.
    void shutdown();

signals:
    // A form's OnActivate has run; completed is false when a failure ended it.
    void formActivated(host::TForm* form, bool completed);
    // The busy indicator has gone: the last operation it announced has ended, normally or not.
    void busyEnded();

private:
    TApplication();
    friend class TForm;
    QWidget* formOwner() const;
    void runCreate(TForm& form);
    void addMdiChild(QMdiSubWindow* frame);

    std::unique_ptr<QMainWindow> mainForm_;
    QPointer<QMdiArea> mdiArea_;
    QPointer<QMenu> helpMenu_;
    std::unique_ptr<Dialogs> dialogs_;
    std::unique_ptr<FocusRouter> focusRouter_;
};

inline TApplication& Application() {
    return TApplication::instance();
}

// True when no one can answer a dialog: the offscreen or minimal platform, or no display at all.
bool Headless();

} // namespace host
