#include "host/app/Dialogs.h"

#include <array>

namespace host {

using namespace Qt::StringLiterals;

QString captionOf(TMsgDlgType type) {
    switch (type) {
    case TMsgDlgType::mtWarning:
        return u"Aviso"_s;
    case TMsgDlgType::mtError:
        return u"Erro"_s;
    case TMsgDlgType::mtInformation:
        return u"Informação"_s;
    case TMsgDlgType::mtConfirmation:
        return u"Confirmação"_s;
    case TMsgDlgType::mtCustom:
        break;
    }
    return {};
}

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
