#pragma once

#include "host/app/Dialogs.h"

namespace host {

// The dialogs of a host with a display: message boxes, an input box and a file chooser.
class WidgetDialogs : public Dialogs {
public:
    void showError(const QString& message) override;
    TModalResult messageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons,
                            int helpContext) override;
    std::optional<QString> inputQuery(const QString& caption, const QString& prompt,
                                      const QString& initial) override;
    std::optional<QString> saveFileName(const QString& title, const QString& initialPath,
                                        const QString& filter) override;
};

} // namespace host
