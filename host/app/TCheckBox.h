#pragma once

#include "host/app/TControl.h"

#include <QCheckBox>

namespace host {

// A two-state box whose OnClick follows its checked state, not the mouse: the option screens show
// and hide pages from it, so a box checked by code must raise it as surely as one clicked by the user.
// A change made by code raises the handler directly and lets its failure reach the caller; a change
// by the user passes the dispatch boundary.
class TCheckBox : public QCheckBox, public TControl {
    Q_OBJECT
public:
    TCheckBox(QWidget* parent, const QString& name, const QString& caption = {});

    QString Caption() const { return text(); }
    void SetCaption(const QString& caption) { setText(caption); }
    bool Checked() const { return isChecked(); }
    void SetChecked(bool checked);
    bool Bold() const { return font().bold(); }
    void SetBold(bool bold);

signals:
    // The checked state changed, by the user or by code.
    void checkedChanged(bool checked);
};

} // namespace host
