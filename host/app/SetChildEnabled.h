#pragma once

class QWidget;

namespace host {

// Enables or disables every control inside the container, at any depth; the container keeps its
// own state.
void SetChildEnabled(QWidget& container, bool enabled);

} // namespace host
