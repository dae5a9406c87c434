#pragma once

#include <QString>

#include <vector>

namespace results {

// What the screen knows of one category whose option box is checked, for the current service.
struct CategoryOutcome {
    QString caption; // the result tab's caption
    bool analysed;   // loaded for the current service (its reload flag is clear)
    int rows;        // summary rows: each one an infringement
};

// The status line's text for the current service. Empty while nothing has been analysed for it, so
// an empty line never reads as clean; a category not yet analysed is said to be so.
QString OutcomeText(bool hasService, bool serviceMarked, const std::vector<CategoryOutcome>& categories);

} // namespace results
