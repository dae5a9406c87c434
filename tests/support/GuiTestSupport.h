#pragma once

#include "ErrorRecorder.h"

#include <memory>

// Puts an ErrorRecorder in the host's dialog seam for one test and the previous seam back after it;
// on the way out every form is closed and destroyed, so no test sees another's windows.
class GuiDialogSeam {
public:
    GuiDialogSeam();
    ~GuiDialogSeam();
    GuiDialogSeam(const GuiDialogSeam&) = delete;
    GuiDialogSeam& operator=(const GuiDialogSeam&) = delete;

    ErrorRecorder& recorder() { return *recorder_; }

private:
    ErrorRecorder* recorder_;
    std::unique_ptr<host::Dialogs> previous_;
};

// Runs what is queued (posted calls, activations) and deletes what was released.
void GuiDrain();
// Frees every form the host still has.
void GuiDestroyForms();
