#include "selection/ServiceMarkImages.h"

#include "host/app/TColors.h"

namespace selection {

const std::vector<const char*>& checkPixels() {
    static const std::vector<const char*> rows = {
        "oooooooooooooooo", "ooooooooooooosoo", "ookkkkkkkkkkosoo", "ookwwwwwwwwwosoo",
        "ookwwwwwwwkwosoo", "ookwwwwwwkkwosoo", "ookwkwwwkkkwosoo", "ookwkkwkkkwwosoo",
        "ookwkkkkkwwwosoo", "ookwwkkkwwwwosoo", "ookwwwkwwwwwosoo", "ookwwwwwwwwwosoo",
        "ooooooooooooosoo", "osssssssssssssoo", "oooooooooooooooo", "oooooooooooooooo",
    };
    return rows;
}

const std::vector<const char*>& uncheckPixels() {
    static const std::vector<const char*> rows = {
        "oooooooooooooooo", "ooooooooooooosoo", "ookkkkkkkkkkosoo", "ookwwwwwwwwwosoo",
        "ookwwwwwwwwwosoo", "ookwwwwwwwwwosoo", "ookwwwwwwwwwosoo", "ookwwwwwwwwwosoo",
        "ookwwwwwwwwwosoo", "ookwwwwwwwwwosoo", "ookwwwwwwwwwosoo", "ookwwwwwwwwwosoo",
        "ooooooooooooosoo", "osssssssssssssoo", "oooooooooooooooo", "oooooooooooooooo",
    };
    return rows;
}

const host::TPixelPalette& markPalette() {
    static const host::TPixelPalette palette = {
        {'o', host::clOlive()},
        {'k', QColor(0, 0, 0)},
        {'s', QColor(192, 192, 192)},
        {'w', QColor(255, 255, 255)},
    };
    return palette;
}

} // namespace selection
