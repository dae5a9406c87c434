#pragma once

#include <vector>

namespace selection {

// One restriction option box of the options panel.
struct OptionBox {
    const char* name;
    const char16_t* caption;
    int left;
    int top;
};

// The nine boxes in tab order.
const std::vector<OptionBox>& optionBoxes();

// A result page of the inner page control, in page order after the services page.
struct ResultPage {
    const char* name;
    const char16_t* caption;
};
const std::vector<ResultPage>& resultPages();

// Which box shows which result page, in the order the pages are shown and hidden.
struct PageOfBox {
    const char* box;
    const char* page;
};
const std::vector<PageOfBox>& pagesOfBoxes();

// The order in which the options check looks for a checked box.
const std::vector<const char*>& optionCheckOrder();

} // namespace selection
