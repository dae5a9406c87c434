#pragma once

#include "host/app/TAlign.h"

#include <QString>

#include <functional>

class QWidget;

namespace host {

// What every control of a form shares, beside the Qt widget it is: a name, a parent, its own enabled
// and visible state (a tab's visibility is a setting of its own), its place in the parent, and the
// events the screen binds. Events from Qt reach the handlers through the dispatch boundary; Click()
// is the "pressed in code" path and lets a failure reach its caller.
class TControl {
public:
    explicit TControl(QWidget& self) : self_(self) {}
    virtual ~TControl() = default;
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;

    QWidget& widget() const { return self_; }
    // The control a widget is, or nothing.
    static TControl* of(QWidget* widget);

    QString Name() const;
    void SetName(const QString& name);
    QWidget* Parent() const;

    // The control's own switches; a control inside a disabled or hidden container keeps its own.
    bool Enabled() const;
    void SetEnabled(bool enabled);
    // A tab sheet's own visibility is not its widget's: the page control decides which page shows.
    virtual bool Visible() const;
    virtual void SetVisible(bool visible);
    // Whether it can be used now: enabled and shown, and so are all its containers.
    bool Usable() const;

    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);
    void SetBounds(int left, int top, int width, int height);

    // Entered and left come from the application's focus router, clicked from the widget.
    std::function<void()> OnEnter;
    std::function<void()> OnExit;
    std::function<void()> OnClick;

    // Raises OnClick directly, as a button pressed by code.
    void Click();

protected:
    // The widget's own click, coming from Qt.
    void clickedByUser();
    void realignParent();

private:
    QWidget& self_;
    TAlign align_ = TAlign::alNone;
};

} // namespace host
