#include "host/edit/TEdit.h"

#include "host/app/Dispatch.h"

#include <QPalette>

namespace host {

TEdit::TEdit(QWidget* parent, const QString& name)
    : QLineEdit(parent), TControl(static_cast<QWidget&>(*this)) {
    SetName(name);
    connect(this, &QLineEdit::textChanged, this, [this](const QString& now) {
        if (now == lastText_)
            return;
        lastText_ = now;
        if (quiet_ == 0 && OnChange)
            Dispatch(OnChange);
    });
}

void TEdit::SetText(const QString& text) {
    if (text == this->text())
        return;
    replaceQuietly(text);
    raiseChange();
}

bool TEdit::TabStop() const {
    return focusPolicy() == Qt::StrongFocus || focusPolicy() == Qt::WheelFocus;
}

void TEdit::SetTabStop(bool tabStop) {
    setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
}

QColor TEdit::Color() const {
    return palette().color(QPalette::Base);
}

void TEdit::SetColor(const QColor& color) {
    QPalette p = palette();
    p.setColor(QPalette::Active, QPalette::Base, color);
    p.setColor(QPalette::Inactive, QPalette::Base, color);
    p.setColor(QPalette::Disabled, QPalette::Base, color);
    setPalette(p);
}

void TEdit::SetMaxLength(int length) {
    // 0 means no limit, as QLineEdit's own default does.
    setMaxLength(length > 0 ? length : 32767);
}

void TEdit::replaceQuietly(const QString& text) {
    ++quiet_;
    setText(text);
    --quiet_;
}

void TEdit::raiseChange() {
    if (OnChange)
        OnChange();
}

} // namespace host
