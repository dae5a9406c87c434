#include "host/app/TBevel.h"

namespace host {

TBevel::TBevel(QWidget* parent, const QString& name, TBevelShape shape)
    : QFrame(parent), TControl(static_cast<QWidget&>(*this)), shape_(shape) {
    SetName(name);
    setFocusPolicy(Qt::NoFocus);
    SetShape(shape);
}

void TBevel::SetShape(TBevelShape shape) {
    shape_ = shape;
    switch (shape) {
    case TBevelShape::bsBox:
        setFrameStyle(QFrame::Box | QFrame::Sunken);
        break;
    case TBevelShape::bsTopLine:
    case TBevelShape::bsBottomLine:
        setFrameStyle(QFrame::HLine | QFrame::Sunken);
        break;
    case TBevelShape::bsLeftLine:
    case TBevelShape::bsRightLine:
        setFrameStyle(QFrame::VLine | QFrame::Sunken);
        break;
    }
}

} // namespace host
