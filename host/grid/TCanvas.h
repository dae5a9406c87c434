#pragma once

#include <QColor>
#include <QFont>
#include <QRect>

class QPainter;

namespace host {

class TBitmap;

struct TBrush {
    QColor Color = Qt::white;
};

// A drawing surface over a painter. A grid hands out its canvas only while it draws a cell; outside
// that every drawing operation is refused (Refusal), since there is nothing to draw on.
class TCanvas {
public:
    TCanvas() = default;
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TBrush Brush;
    QFont Font;
    QColor FontColor = Qt::black;

    bool Drawing() const { return painter_ != nullptr; }

    void FillRect(const QRect& rect);
    // Copies the source part of the bitmap onto dest, every pixel of transparentColor replaced by the
    // brush colour. The part of source outside the bitmap copies nothing; a dest of another size
    // than source scales.
    void BrushCopy(const QRect& dest, const TBitmap& bitmap, const QRect& source,
                   const QColor& transparentColor);
    void TextRect(const QRect& rect, const QString& text, Qt::Alignment alignment);

    // Binds the canvas to a painter for the length of one drawing; the previous painter comes back
    // when the binding ends.
    class Binding {
    public:
        Binding(TCanvas& canvas, QPainter& painter);
        ~Binding();
        Binding(const Binding&) = delete;
        Binding& operator=(const Binding&) = delete;

    private:
        TCanvas& canvas_;
        QPainter* previous_;
    };

private:
    QPainter& painter() const;
    QPainter* painter_ = nullptr;
};

} // namespace host
