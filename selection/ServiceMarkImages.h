#pragma once

#include "host/grid/TBitmap.h"

#include <vector>

namespace selection {

// The ticked and the empty box drawn in the mark column and the weekly usage grid: 16 by 16, on an
// olive background that drawing replaces by the cell colour.
const std::vector<const char*>& checkPixels();
const std::vector<const char*>& uncheckPixels();
// o olive (the background), k black, s silver, w white.
const host::TPixelPalette& markPalette();

} // namespace selection
