#include "GuiTestSupport.h"

#include "host/app/TApplication.h"
#include "host/app/TForm.h"

#include <QApplication>
#include <QPointer>

GuiDialogSeam::GuiDialogSeam() {
    auto recorder = std::make_unique<ErrorRecorder>();
    recorder_ = recorder.get();
    previous_ = host::Application().setDialogs(std::move(recorder));
}

GuiDialogSeam::~GuiDialogSeam() {
    GuiDestroyForms();
    host::Application().setDialogs(std::move(previous_));
}

void GuiDrain() {
    for (int round = 0; round < 3; ++round) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

void GuiDestroyForms() {
    GuiDrain();
    for (host::TForm* form : host::Application().Forms())
        form->FormWindow()->deleteLater();
    GuiDrain();
}
