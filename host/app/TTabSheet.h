#pragma once

#include "host/app/TControl.h"

#include <QIcon>
#include <QWidget>

#include <functional>

namespace host {

class TPageControl;

// One page of a page control. Its tab and the page itself have separate visibility switches, and
// the page takes part in the control only while both are on; the page control, not the widget's own
// visibility, decides which page shows. OnEnter comes from the focus router when the focus moves
// into the page; OnShow when the page becomes the one shown, by the user or by code, but not when it
// is only moved to because the tab in front was hidden.
class TTabSheet : public QWidget, public TControl {
    Q_OBJECT
public:
    TTabSheet(TPageControl& owner, const QString& name, const QString& caption = {});

    TPageControl& PageControl() const { return owner_; }
    int PageIndex() const;

    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    // A picture beside the caption on the tab; a null icon removes it.
    QIcon Icon() const;
    void SetIcon(const QIcon& icon);

    bool TabVisible() const { return tabVisible_; }
    void SetTabVisible(bool visible);
    bool Visible() const override { return visible_; }
    void SetVisible(bool visible) override;
    // Whether the page has a tab the user sees: both switches on.
    bool Shown() const { return tabVisible_ && visible_; }

    std::function<void()> OnShow;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    TPageControl& owner_;
    QString caption_;
    bool tabVisible_ = true;
    bool visible_ = true;
};

} // namespace host
