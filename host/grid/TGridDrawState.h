#pragma once

namespace host {

// How a grid is drawing one cell: the current cell shown as selected, the grid holding the focus,
// a title or indicator cell.
struct TGridDrawState {
    bool selected = false;
    bool focused = false;
    bool fixed = false;
};

} // namespace host
