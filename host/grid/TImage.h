#pragma once

#include "host/app/TControl.h"
#include "host/grid/TBitmap.h"

#include <QWidget>

namespace host {

// An image component that only stores a picture for drawing code to copy: it is created hidden and
// never paints itself.
class TImage : public QWidget, public TControl {
    Q_OBJECT
public:
    TImage(QWidget* parent, const QString& name);

    const TBitmap& Picture() const { return picture_; }
    void SetPicture(const TBitmap& picture) { picture_.Assign(picture); }
    void LoadPixelMap(const std::vector<const char*>& rows, const TPixelPalette& palette);

private:
    TBitmap picture_;
};

} // namespace host
