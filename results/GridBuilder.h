#pragma once

#include "results/GridColumns.h"

namespace host {
class TDBGrid;
}

namespace results {

// Gives a grid the columns of its layout (fields, titles, alignments, widths, title fonts).
void BuildGridColumns(host::TDBGrid& grid, const GridLayout& layout);

} // namespace results
