#pragma once

namespace host {

enum class TCursor { crDefault, crHourGlass };

// The screen cursor, a setting rather than a stack: setting the hourglass twice and the default once
// gives the default.
class TScreen {
public:
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor);

private:
    TCursor cursor_ = TCursor::crDefault;
};

TScreen& Screen();

} // namespace host
