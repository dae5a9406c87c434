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

    // While one lives, focus moves the program makes as a side effect (a page control moving its
    // current page off a tab being hidden) are remembered as the form's control but raise nothing.
    class Quiet {
    public:
        Quiet() { ++quiet_; }
        ~Quiet() { --quiet_; }
        Quiet(const Quiet&) = delete;
        Quiet& operator=(const Quiet&) = delete;
    };

private:
    void focusChanged(QWidget* now);
    bool routing_ = false;
    static inline int quiet_ = 0;
};

} // namespace host
