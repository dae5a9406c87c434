#include "host/app/TCheckBox.h"

#include <QSignalBlocker>

namespace host {

TCheckBox::TCheckBox(QWidget* parent, const QString& name, const QString& caption)
    : QCheckBox(parent), TControl(static_cast<QWidget&>(*this)) {
    SetName(name);
    setText(caption);
    connect(this, &QCheckBox::toggled, this, [this](bool checked) {
        clickedByUser();
        emit checkedChanged(checked);
    });
}

void TCheckBox::SetChecked(bool checked) {
    if (checked == isChecked())
        return;
    {
        const QSignalBlocker quiet(this);
        setChecked(checked);
    }
    emit checkedChanged(checked);
    Click();
}

void TCheckBox::SetBold(bool bold) {
    QFont f = font();
    f.setBold(bold);
    setFont(f);
}

} // namespace host
