#include "display/Bindings.h"
#include "module/TfrmAnalRestCont.h"

void TfrmAnalRestCont::bindDisplay() {
    display::BindFieldTexts(*this);
    display::BindWeeklyGridDrawing(*this);
}
