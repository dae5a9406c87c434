#pragma once

#include "host/app/Dialogs.h"

#include <cstdio>

namespace host {

// The dialogs of a host without a display: nobody can answer, so each dialog says what it would have
// shown and answers as its default button would. Errors go to the error stream, messages to the
// output stream.
class ConsoleDialogs : public Dialogs {
public:
    ConsoleDialogs(std::FILE* out = stdout, std::FILE* err = stderr) : out_(out), err_(err) {}

    void showError(const QString& message) override;
    TModalResult messageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons,
                            int helpContext) override;
    std::optional<QString> inputQuery(const QString& caption, const QString& prompt,
                                      const QString& initial) override;
    std::optional<QString> saveFileName(const QString& title, const QString& initialPath,
                                        const QString& filter) override;

private:
    std::FILE* out_;
    std::FILE* err_;
};

} // namespace host
