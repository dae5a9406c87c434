#pragma once

#include "host/app/ShowAvi.h"

namespace host {

// Shows the busy indicator for one scope and hides it when the scope ends, also by a failure.
// Hide() ends it early, once.
class ShowAviGuard {
public:
    ShowAviGuard(QWidget* mainForm, int kind, const QString& caption = {}) {
        ActiveShowAvi(mainForm, kind, caption);
    }
    ~ShowAviGuard() { Hide(); }
    ShowAviGuard(const ShowAviGuard&) = delete;
    ShowAviGuard& operator=(const ShowAviGuard&) = delete;

    void Hide() {
        if (active_)
            DeactiveShowAvi();
        active_ = false;
    }

private:
    bool active_ = true;
};

} // namespace host
