#pragma once

#include <vector>

namespace results {

// How a result page is laid out: the summary panel filling what is left, a splitter, and the
// detail panel docked at the bottom with its height; each panel holds a scroll box with the grid.
struct ResultPageLayout {
    const char* page;
    const char* summaryPanel;
    const char* summaryScrollBox;
    const char* splitter;
    const char* detailPanel;
    const char* detailScrollBox;
    int detailHeight;
};

const std::vector<ResultPageLayout>& resultPageLayouts();

} // namespace results
