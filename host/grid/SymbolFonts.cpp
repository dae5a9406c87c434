#include "host/grid/SymbolFonts.h"

#include <array>
#include <utility>

using namespace Qt::StringLiterals;

namespace host {

bool IsMappedSymbolFont(const QString& family) {
    return family.compare(u"Monotype Sorts"_s, Qt::CaseInsensitive) == 0;
}

QString SymbolGlyphFamily() {
    return u"DejaVu Sans"_s;
}

QString SymbolFontText(const QString& text) {
    // The dingbats' codes 0x21 to 0x7E run along U+2701 onwards, but for the glyphs Unicode had already
    // placed elsewhere.
    static constexpr std::array<std::pair<char16_t, char32_t>, 9> kElsewhere{{{0x25, 0x260E},
                                                                              {0x2A, 0x261B},
                                                                              {0x2B, 0x261E},
                                                                              {0x48, 0x2605},
                                                                              {0x6C, 0x25CF},
                                                                              {0x6E, 0x25A0},
                                                                              {0x75, 0x25B2},
                                                                              {0x76, 0x25BC},
                                                                              {0x77, 0x25C6}}};
    QString out;
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        if (code < 0x21 || code > 0x7E) {
            out += c;
            continue;
        }
        char32_t glyph = 0x2700 + (code - 0x20);
        for (const auto& [from, to] : kElsewhere)
            if (from == code)
                glyph = to;
        out += QString::fromUcs4(&glyph, 1);
    }
    return out;
}

} // namespace host
