#pragma once

#include "host/app/TControl.h"

#include <QToolButton>

namespace host {

// A flat button that takes no focus, with a hint shown on hover.
class TSpeedButton : public QToolButton, public TControl {
    Q_OBJECT
public:
    TSpeedButton(QWidget* parent, const QString& name, const QString& caption = {});

    QString Caption() const { return text(); }
    void SetCaption(const QString& caption) { setText(caption); }
    QString Hint() const { return toolTip(); }
    void SetHint(const QString& hint) { setToolTip(hint); }
};

} // namespace host
