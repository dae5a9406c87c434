#pragma once

#include <QObject>

class QWidget;

namespace host {

class TForm;

// Turns Qt's focus moves into the entered and left events of controls. Only moves inside one form
// count, measured from the control that form last had: a message box, another window or a switch
// of application raises nothing. Exits run innermost first, then entries outermost first; a handler
// that fails or moves the focus itself ends the chain, and the move it makes raises nothing more.
class FocusRouter : public QObject {
    Q_OBJECT
public:
    FocusRouter();

private:
    void focusChanged(QWidget* now);
    bool routing_ = false;
};

} // namespace host
