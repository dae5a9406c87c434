#pragma once

#include <vector>

namespace display {

// How a field's text is composed: the menu day with its weekday, the dish type with the option
// mark, or the name followed by its formatted code.
enum class TextFamily { MenuDay, DishType, NameWithCode };

struct TextEvent {
    const char* name; // the handler's name, as the record layouts bind it
    TextFamily family;
    const char* sourceField; // code field (names) or option flag (dish types); nullptr for days
    int pictType;            // the kind of code mask, names only
    const char16_t* opening; // what comes between the name and the code, names only
};

// The thirty-eight text events.
const std::vector<TextEvent>& textEvents();
// nullptr for a name no event has.
const TextEvent* findTextEvent(const char* name);

} // namespace display
