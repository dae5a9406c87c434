#include "host/app/Dialogs.h"

#include <array>

namespace host {

TModalResult modalResultOf(TMsgDlgBtn button) {
    switch (button) {
    case TMsgDlgBtn::mbYes:
        return mrYes;
    case TMsgDlgBtn::mbNo:
        return mrNo;
    case TMsgDlgBtn::mbOK:
        return mrOk;
    case TMsgDlgBtn::mbCancel:
        return mrCancel;
    case TMsgDlgBtn::mbAbort:
        return mrAbort;
    case TMsgDlgBtn::mbRetry:
        return mrRetry;
    case TMsgDlgBtn::mbIgnore:
        return mrIgnore;
    }
    return mrNone;
}

TMsgDlgBtn defaultButton(TMsgDlgButtons buttons) {
    constexpr std::array order{TMsgDlgBtn::mbOK,    TMsgDlgBtn::mbYes,   TMsgDlgBtn::mbCancel,
                               TMsgDlgBtn::mbNo,    TMsgDlgBtn::mbAbort, TMsgDlgBtn::mbRetry,
                               TMsgDlgBtn::mbIgnore};
    for (const TMsgDlgBtn button : order)
        if (buttons.testFlag(button))
            return button;
    return TMsgDlgBtn::mbOK;
}

} // namespace host
