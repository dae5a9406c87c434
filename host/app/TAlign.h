#pragma once

class QWidget;

namespace host {

// How a control sits in its container: docked to a side, filling what is left, or where it was put.
enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

// Lays out the aligned controls of a container: each docked control takes its side from what the
// earlier ones left, the client-aligned ones fill the rest. Containers call it when resized.
void AlignChildren(QWidget& container);

} // namespace host
