#pragma once

#include "host/app/Dialogs.h"

#include <QStringList>

#include <optional>
#include <vector>

// The dialog seam of the tests: records every error and every dialog, answers as scripted. Nothing
// waits for a click.
class ErrorRecorder : public host::Dialogs {
public:
    struct Message {
        QString text;
        host::TMsgDlgType type;
        host::TMsgDlgButtons buttons;
        int helpContext;
    };

    QStringList errors;
    std::vector<Message> messages;
    QStringList inputPrompts;
    QStringList saveTitles;
    QStringList saveInitialPaths;

    host::TModalResult messageAnswer = host::mrOk;
    std::optional<QString> inputAnswer;
    std::optional<QString> saveAnswer;

    QString lastError() const { return errors.isEmpty() ? QString() : errors.last(); }

    void showError(const QString& message) override { errors.append(message); }
    host::TModalResult messageDlg(const QString& text, host::TMsgDlgType type, host::TMsgDlgButtons buttons,
                                  int helpContext) override;
    std::optional<QString> inputQuery(const QString& caption, const QString& prompt,
                                      const QString& initial) override;
    std::optional<QString> saveFileName(const QString& title, const QString& initialPath,
                                        const QString& filter) override;
};
