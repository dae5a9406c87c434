#pragma once

#include <QString>

namespace host {

// Symbol fonts of the suite's forms that this machine does not have: their codes are shown as the
// Unicode glyphs they stand for, in a font that has them. Without this an unknown family is silently
// substituted and a check mark shows as the digit "4".
bool IsMappedSymbolFont(const QString& family);
// The family named explicitly for the mapped glyphs.
QString SymbolGlyphFamily();
// The text's codes as the glyphs the symbol font draws for them.
QString SymbolFontText(const QString& text);

} // namespace host
