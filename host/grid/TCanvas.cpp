#include "host/grid/TCanvas.h"

#include "host/core/Refusal.h"
#include "host/grid/TBitmap.h"

#include <QPainter>

using namespace Qt::StringLiterals;

namespace host {

TCanvas::Binding::Binding(TCanvas& canvas, QPainter& painter) : canvas_(canvas), previous_(canvas.painter_) {
    canvas_.painter_ = &painter;
}

TCanvas::Binding::~Binding() {
    canvas_.painter_ = previous_;
}

QPainter& TCanvas::painter() const {
    if (!painter_)
        throw Refusal(u"A superfície de desenho só existe enquanto a célula é desenhada."_s);
    return *painter_;
}

void TCanvas::FillRect(const QRect& rect) {
    painter().fillRect(rect, Brush.Color);
}

void TCanvas::BrushCopy(const QRect& dest, const TBitmap& bitmap, const QRect& source,
                        const QColor& transparentColor) {
    QPainter& p = painter();
    if (bitmap.Empty() || source.isEmpty() || dest.isEmpty())
        return;
    const QRect valid = source.intersected(QRect(0, 0, bitmap.Width(), bitmap.Height()));
    if (valid.isEmpty())
        return;
    QImage part = bitmap.Image().copy(valid).convertToFormat(QImage::Format_ARGB32);
    const QRgb from = transparentColor.rgb();
    const QRgb to = Brush.Color.rgba();
    for (int y = 0; y < part.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(part.scanLine(y));
        for (int x = 0; x < part.width(); ++x) {
            if ((line[x] | 0xff000000u) == from)
                line[x] = to;
        }
    }
    // The part of source that lies on the bitmap lands on the matching part of dest.
    const double sx = double(dest.width()) / source.width();
    const double sy = double(dest.height()) / source.height();
    const QRectF target(dest.left() + (valid.left() - source.left()) * sx,
                        dest.top() + (valid.top() - source.top()) * sy, valid.width() * sx,
                        valid.height() * sy);
    p.drawImage(target, part);
}

void TCanvas::TextRect(const QRect& rect, const QString& text, Qt::Alignment alignment) {
    QPainter& p = painter();
    p.save();
    p.setFont(Font);
    p.setPen(FontColor);
    p.setClipRect(rect, Qt::IntersectClip);
    p.drawText(rect, int(alignment) | Qt::TextSingleLine, text);
    p.restore();
}

} // namespace host
