#pragma once

#include "host/app/TControl.h"

#include <QFrame>

namespace host {

enum class TBevelShape { bsBox, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine };

// A sunken line or box that separates parts of a form; it takes no input.
class TBevel : public QFrame, public TControl {
    Q_OBJECT
public:
    TBevel(QWidget* parent, const QString& name, TBevelShape shape = TBevelShape::bsTopLine);

    TBevelShape Shape() const { return shape_; }
    void SetShape(TBevelShape shape);

private:
    TBevelShape shape_;
};

} // namespace host
