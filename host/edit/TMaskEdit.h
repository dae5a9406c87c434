#pragma once

#include "host/edit/TEdit.h"

namespace host {

// An edit laid out by an edit mask in the host's notation (see FormatMaskText): ">" upper case,
// "a" an optional letter or digit, "A" a required one, "l"/"L" letters, "9"/"0" digits, other
// characters literals; ";0" when the text does not keep the literals, then the blank character.
// Typing follows the mask: a character the position does not accept is refused, case is forced.
class TMaskEdit : public TEdit {
    Q_OBJECT
public:
    TMaskEdit(QWidget* parent, const QString& name);

    QString EditMask() const { return editMask_; }
    void SetEditMask(const QString& mask);

    // The value as the mask keeps it: without the literals when the mask says ";0", blanks inside
    // the value as spaces, trailing blanks removed. Without a mask, the text as shown.
    QString Text() const override;
    // Lays the value out by the mask (as FormatMaskText does) and raises OnChange when the value
    // kept changes.
    void SetText(const QString& text) override;
    // The text as shown, literals and blanks included.
    QString EditText() const { return displayText(); }

private:
    // Puts the cursor after the last character of the value, where typing goes on.
    void cursorAfterValue();

    QString editMask_;
    bool keepLiterals_ = true;
    QChar blank_ = u' ';
    QList<bool> inputSlot_; // per shown position: true where the value goes, false for a literal
};

} // namespace host
