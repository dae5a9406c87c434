#pragma once

#include <QFlags>
#include <QString>

#include <optional>

namespace host {

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

enum class TMsgDlgBtn {
    mbYes = 0x1,
    mbNo = 0x2,
    mbOK = 0x4,
    mbCancel = 0x8,
    mbAbort = 0x10,
    mbRetry = 0x20,
    mbIgnore = 0x40,
};
Q_DECLARE_FLAGS(TMsgDlgButtons, TMsgDlgBtn)

// What a modal window or a message dialog ended with.
using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;

// The result a message dialog gives for a button.
// The caption of a message of that type; empty for a custom one, which takes the caller's.
QString captionOf(TMsgDlgType type);
TModalResult modalResultOf(TMsgDlgBtn button);
// The button a dialog answers with when nobody can press one: the first of OK, Yes, Cancel, No,
// Abort, Retry, Ignore that it offers.
TMsgDlgBtn defaultButton(TMsgDlgButtons buttons);

// Every dialog the host or a screen opens goes through this seam, so that the headless shell and the
// tests can replace the widgets: an offscreen run must never wait for a click nobody can give.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // The failure that reached the dispatch boundary.
    virtual void showError(const QString& message) = 0;
    // A message dialog of the given type and buttons; answers the modal result of the button pressed.
    virtual TModalResult messageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons,
                                    int helpContext) = 0;
    // Asks for one line of text; nothing when the user cancels.
    virtual std::optional<QString> inputQuery(const QString& caption, const QString& prompt,
                                              const QString& initial) = 0;
    // Asks where to save a file; nothing when the user cancels.
    virtual std::optional<QString> saveFileName(const QString& title, const QString& initialPath,
                                                const QString& filter) = 0;
};

} // namespace host

Q_DECLARE_OPERATORS_FOR_FLAGS(host::TMsgDlgButtons)
