#pragma once

#include <QColor>
#include <QImage>

#include <map>
#include <vector>

namespace host {

class TImage;

// Which colour each letter of a pixel map stands for.
using TPixelPalette = std::map<char, QColor>;

// A picture in memory. A copy is a copy: changing it leaves the original as it was.
class TBitmap {
public:
    TBitmap() = default;
    explicit TBitmap(QImage image);

    // Rows of letters, top to bottom, every row as wide as the first; each letter must be in the
    // palette (Refusal otherwise).
    static TBitmap FromPixelMap(const std::vector<const char*>& rows, const TPixelPalette& palette);

    void Assign(const TBitmap& other) { image_ = other.image_; }
    void Assign(const TImage& image);

    int Width() const { return image_.width(); }
    int Height() const { return image_.height(); }
    bool Empty() const { return image_.isNull(); }
    QColor Pixel(int x, int y) const { return image_.pixelColor(x, y); }
    const QImage& Image() const { return image_; }

private:
    QImage image_;
};

} // namespace host
