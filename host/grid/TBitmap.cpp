#include "host/grid/TBitmap.h"

#include "host/core/Refusal.h"
#include "host/grid/TImage.h"

#include <cstring>

using namespace Qt::StringLiterals;

namespace host {

TBitmap::TBitmap(QImage image) : image_(std::move(image)) {}

TBitmap TBitmap::FromPixelMap(const std::vector<const char*>& rows, const TPixelPalette& palette) {
    if (rows.empty())
        return {};
    const int width = static_cast<int>(std::strlen(rows.front()));
    QImage image(width, static_cast<int>(rows.size()), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        const char* row = rows[static_cast<std::size_t>(y)];
        if (static_cast<int>(std::strlen(row)) != width)
            throw Refusal(u"Mapa de pixels com linhas de larguras diferentes (linha %1)."_s.arg(y));
        for (int x = 0; x < width; ++x) {
            const auto colour = palette.find(row[x]);
            if (colour == palette.end())
                throw Refusal(u"Mapa de pixels com a letra '%1', que a paleta não tem."_s.arg(
                    QChar::fromLatin1(row[x])));
            image.setPixelColor(x, y, colour->second);
        }
    }
    return TBitmap(std::move(image));
}

void TBitmap::Assign(const TImage& image) {
    Assign(image.Picture());
}

} // namespace host
