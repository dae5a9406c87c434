#include "host/app/TTabSheet.h"

#include "host/app/TAlign.h"
#include "host/app/TPageControl.h"

namespace host {

TTabSheet::TTabSheet(TPageControl& owner, const QString& name, const QString& caption)
    : QWidget(nullptr), TControl(static_cast<QWidget&>(*this)), owner_(owner), caption_(caption) {
    SetName(name);
    owner_.adopt(*this);
}

int TTabSheet::PageIndex() const {
    return owner_.indexOf(const_cast<TTabSheet*>(this));
}

void TTabSheet::SetCaption(const QString& caption) {
    caption_ = caption;
    owner_.setTabText(PageIndex(), caption);
}

QIcon TTabSheet::Icon() const {
    return owner_.tabIcon(PageIndex());
}

void TTabSheet::SetIcon(const QIcon& icon) {
    owner_.setTabIcon(PageIndex(), icon);
}

void TTabSheet::SetTabVisible(bool visible) {
    tabVisible_ = visible;
    owner_.sheetChanged(*this);
}

void TTabSheet::SetVisible(bool visible) {
    visible_ = visible;
    owner_.sheetChanged(*this);
}

void TTabSheet::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    AlignChildren(*this);
}

} // namespace host
