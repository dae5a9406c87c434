#pragma once

#include "host/app/TControl.h"

#include <QColor>
#include <QLineEdit>

#include <functional>

namespace host {

// A one-line text entry. OnChange follows every change of the text: a change by code raises it
// directly so its failure reaches the caller; a change by the user passes the dispatch boundary.
class TEdit : public QLineEdit, public TControl {
    Q_OBJECT
public:
    TEdit(QWidget* parent, const QString& name);

    virtual QString Text() const { return text(); }
    // Raises OnChange when the text differs from the one shown.
    virtual void SetText(const QString& text);

    bool ReadOnly() const { return isReadOnly(); }
    void SetReadOnly(bool readOnly) { setReadOnly(readOnly); }
    // A control that is no tab stop is skipped by Tab but still takes focus from a click.
    bool TabStop() const;
    void SetTabStop(bool tabStop);
    QColor Color() const;
    void SetColor(const QColor& color);
    int MaxLength() const { return maxLength(); }
    void SetMaxLength(int length);
    void SelectAll() { selectAll(); }

    std::function<void()> OnChange;

protected:
    // Shows a new text without raising anything; for subclasses that lay their text out themselves.
    void replaceQuietly(const QString& text);
    // Raises OnChange as the code path does: failures propagate.
    void raiseChange();

private:
    int quiet_ = 0;
    // A masked edit rewrites its text on keys it refuses; only a real change is one.
    QString lastText_;
};

} // namespace host
