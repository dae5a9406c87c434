#pragma once

class TfrmAnalRestCont;

namespace display {

// The thirty-eight fields' text events.
void BindFieldTexts(TfrmAnalRestCont& form);
// The weekly dish-use grid's drawing event on its five grids.
void BindWeeklyGridDrawing(TfrmAnalRestCont& form);

} // namespace display
