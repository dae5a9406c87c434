#include "host/grid/TImage.h"

namespace host {

TImage::TImage(QWidget* parent, const QString& name)
    : QWidget(parent), TControl(static_cast<QWidget&>(*this)) {
    SetName(name);
    hide();
}

void TImage::LoadPixelMap(const std::vector<const char*>& rows, const TPixelPalette& palette) {
    picture_ = TBitmap::FromPixelMap(rows, palette);
    resize(picture_.Width(), picture_.Height());
}

} // namespace host
