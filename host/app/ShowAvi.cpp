#include "host/app/ShowAvi.h"

#include "host/app/BusyIndicator.h"

namespace host {

void ActiveShowAvi(QWidget* mainForm, int kind) {
    ActiveShowAvi(mainForm, kind, QString());
}

void ActiveShowAvi(QWidget* mainForm, int kind, const QString& caption) {
    TheBusyIndicator().push(mainForm, kind, caption);
}

void DeactiveShowAvi() {
    if (BusyIndicator* indicator = ExistingBusyIndicator())
        indicator->pop();
}

int ShowAviDepth() {
    const BusyIndicator* indicator = ExistingBusyIndicator();
    return indicator ? indicator->depth() : 0;
}

QString ShowAviCaption() {
    const BusyIndicator* indicator = ExistingBusyIndicator();
    return indicator ? indicator->caption() : QString();
}

} // namespace host
