#include "ErrorRecorder.h"

host::TModalResult ErrorRecorder::messageDlg(const QString& text, host::TMsgDlgType type,
                                             host::TMsgDlgButtons buttons, int helpContext) {
    messages.push_back({text, type, buttons, helpContext});
    return messageAnswer;
}

std::optional<QString> ErrorRecorder::inputQuery(const QString&, const QString& prompt, const QString&) {
    inputPrompts.append(prompt);
    return inputAnswer;
}

std::optional<QString> ErrorRecorder::saveFileName(const QString& title, const QString& initialPath,
                                                   const QString&) {
    saveTitles.append(title);
    saveInitialPaths.append(initialPath);
    return saveAnswer;
}
